#include "net/config_sender.h"

#include <cstring>

#include "net/datagrams.h"
#include "net/device_row.h"
#include "net/endpoint.h"
#include "net/system_sockets.h"

namespace kestrelink {

std::array<std::uint8_t, 4> ResolveLocalhostAddress() {
    std::array<std::uint8_t, 4> address{};
    addrinfo* results = nullptr;
    if (::getaddrinfo("localhost", nullptr, nullptr, &results) != 0) {
        return address;
    }
    for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            sockaddr_in ipv4{};
            std::memcpy(&ipv4, entry->ai_addr, sizeof ipv4);
            std::memcpy(address.data(), &ipv4.sin_addr.s_addr, address.size());
            break;
        }
    }
    ::freeaddrinfo(results);
    return address;
}

bool SendConfigRequest(Endpoint& endpoint, const ConfigTarget& target, const IpSettings& settings) {
    if (target.archText == kArchText32) {
        const auto request =
            BuildConfigRequest32(settings, target.macText, ResolveLocalhostAddress());
        return endpoint.SendToDevices(request, DEVICE_PORT_32, target.heardOn);
    }
    const auto request = BuildConfigRequest08(settings, target.macText);
    return endpoint.SendToDevices(request, DEVICE_PORT_08, target.heardOn);
}

}  // namespace kestrelink
