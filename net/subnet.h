#pragma once

#include <cstdint>
#include <string>

namespace kestrelink {

struct NetworkInterface;

// The network that an interface's first address lies in: the address with its host bits cleared.
std::uint32_t NetworkAddress(const NetworkInterface& network);

// True unless ipCell is a dotted IPv4 address inside one of the networks of heardOn, that of its
// first address or of any further one. A device listed under such an address answers the limited
// broadcast, but nothing addressed to it can reach it through that interface: its web page stays
// out of reach until it is given new settings.
bool IsOutsideNetwork(const std::string& ipCell, const NetworkInterface& heardOn);

}  // namespace kestrelink
