#include "net/subnet.h"

#include "net/system_sockets.h"

#include <algorithm>

#include "net/interfaces.h"

namespace kestrelink {
namespace {

std::uint32_t PrefixMask(int prefixLength) {
    if (prefixLength <= 0) {
        return 0;
    }
    return prefixLength >= 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> prefixLength);
}

bool InNetwork(std::uint32_t address, const InterfaceNetwork& network) {
    const std::uint32_t mask = PrefixMask(network.prefixLength);
    return (address & mask) == (network.address & mask);
}

}  // namespace

std::uint32_t NetworkAddress(const NetworkInterface& network) {
    return network.address & PrefixMask(network.prefixLength);
}

bool IsOutsideNetwork(const std::string& ipCell, const NetworkInterface& heardOn) {
    // A cell in any other form than the strict dotted one lies in no network.
    in_addr parsed{};
    if (::inet_pton(AF_INET, ipCell.c_str(), &parsed) != 1) {
        return true;
    }
    const std::uint32_t address = ntohl(parsed.s_addr);
    if (InNetwork(address, {heardOn.address, heardOn.prefixLength})) {
        return false;
    }
    return std::none_of(
        heardOn.furtherNetworks.begin(), heardOn.furtherNetworks.end(),
        [address](const InterfaceNetwork& network) { return InNetwork(address, network); });
}

}  // namespace kestrelink
