#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>
#include <memory>

#include "net/interfaces.h"

namespace kestrelink {
namespace {

std::uint32_t HostOrder(const sockaddr* address) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, address, sizeof ipv4);
    return ntohl(ipv4.sin_addr.s_addr);
}

}  // namespace

std::vector<NetworkInterface> ListBroadcastInterfaces() {
    ifaddrs* head = nullptr;
    if (::getifaddrs(&head) != 0) {
        return {};
    }
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owned(head, &::freeifaddrs);
    std::vector<InterfaceAddress> addresses;
    for (const ifaddrs* entry = head; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            entry->ifa_netmask == nullptr) {
            continue;
        }
        const unsigned flags = entry->ifa_flags;
        addresses.push_back({.name = entry->ifa_name,
                             .index = ::if_nametoindex(entry->ifa_name),
                             .up = (flags & IFF_UP) != 0,
                             .loopback = (flags & IFF_LOOPBACK) != 0,
                             .broadcast = (flags & IFF_BROADCAST) != 0,
                             .address = HostOrder(entry->ifa_addr),
                             .netmask = HostOrder(entry->ifa_netmask)});
    }
    return BroadcastInterfaces(addresses);
}

}  // namespace kestrelink
