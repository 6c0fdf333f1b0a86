#include "net/subnet.h"

#include "net/system_sockets.h"

#include "net/interfaces.h"

namespace kestrelink {
namespace {

std::uint32_t PrefixMask(int prefixLength) {
    if (prefixLength <= 0) {
        return 0;
    }
    return prefixLength >= 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> prefixLength);
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
    return (ntohl(parsed.s_addr) & PrefixMask(heardOn.prefixLength)) != NetworkAddress(heardOn);
}

}  // namespace kestrelink
