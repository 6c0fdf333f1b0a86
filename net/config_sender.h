#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kestrelink {

class Endpoint;
struct IpSettings;

// The device a request is for, read from its row before the dialog opens, so that rows moving
// while the dialog is up cannot change the target.
struct ConfigTarget {
    std::string macText;
    std::string archText;
    // The interface the device was last heard on; empty when not known, as where only loopback
    // is up.
    std::string heardOn{};
};

// First IPv4 address that "localhost" resolves to, in wire order; all zero if there is none.
std::array<std::uint8_t, 4> ResolveLocalhostAddress();

// Builds the request of the target's family and broadcasts it once out of the interface the
// target was heard on (every interface when that is gone). True only when the whole datagram
// left through at least one.
bool SendConfigRequest(Endpoint& endpoint, const ConfigTarget& target, const IpSettings& settings);

}  // namespace kestrelink
