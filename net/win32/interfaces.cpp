// winsock2.h before iphlpapi.h, which would otherwise pull in the older winsock.h.
#include <winsock2.h>

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/interfaces.h"
#include "net/win32/wide_text.h"

namespace kestrelink {
namespace {

// Asks once with a guess, then with the size the system says it needs: adapters may come and go
// between the two calls, so a few rounds are allowed.
std::vector<std::uint8_t> AdapterTable() {
    constexpr ULONG kFlags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    for (int round = 0; round < 4; ++round) {
        std::vector<std::uint8_t> table(size);
        const ULONG result = ::GetAdaptersAddresses(
            AF_INET, kFlags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data()), &size);
        if (result == ERROR_SUCCESS) {
            return table;
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return {};
}

std::uint32_t HostOrder(const SOCKADDR* address) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, address, sizeof ipv4);
    return ntohl(ipv4.sin_addr.s_addr);
}

std::uint32_t Netmask(unsigned prefixLength) {
    return prefixLength == 0 ? 0 : ~std::uint32_t{0} << (32 - prefixLength);
}

// Links without a shared medium carry no broadcast.
bool CarriesBroadcast(IFTYPE type) {
    return type != IF_TYPE_PPP && type != IF_TYPE_TUNNEL && type != IF_TYPE_SOFTWARE_LOOPBACK;
}

}  // namespace

std::vector<NetworkInterface> ListBroadcastInterfaces() {
    const std::vector<std::uint8_t> table = AdapterTable();
    std::vector<InterfaceAddress> addresses;
    for (auto* adapter =
             table.empty() ? nullptr : reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(table.data());
         adapter != nullptr; adapter = adapter->Next) {
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress;
             unicast != nullptr; unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (address == nullptr || address->sa_family != AF_INET) {
                continue;
            }
            addresses.push_back({.name = WideToUtf8(adapter->FriendlyName),
                                 .index = adapter->IfIndex,
                                 .up = adapter->OperStatus == IfOperStatusUp,
                                 .loopback = adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK,
                                 .broadcast = CarriesBroadcast(adapter->IfType),
                                 .address = HostOrder(address),
                                 .netmask = Netmask(unicast->OnLinkPrefixLength)});
        }
    }
    return BroadcastInterfaces(addresses);
}

}  // namespace kestrelink
