#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrelink {

// An IPv4 address of an interface with the length of its network's prefix.
struct InterfaceNetwork {
    std::uint32_t address = 0;  // first octet most significant
    int prefixLength = 0;

    bool operator==(const InterfaceNetwork&) const = default;
};

// An IPv4 interface that broadcasts are steered out of, and that announcements are heard on.
struct NetworkInterface {
    unsigned index = 0;  // the system's interface index
    std::string name;
    std::uint32_t address = 0;  // the first listed; it names the interface to the user
    int prefixLength = 0;
    // The interface's other addresses, in the order listed. A device in any of their networks
    // is as reachable as one in the first.
    std::vector<InterfaceNetwork> furtherNetworks;

    bool operator==(const NetworkInterface&) const = default;
};

// One IPv4 address of an interface, as the system lists it.
struct InterfaceAddress {
    std::string name;
    unsigned index = 0;  // 0: the system no longer knows the name
    bool up = false;
    bool loopback = false;
    bool broadcast = false;
    std::uint32_t address = 0;
    std::uint32_t netmask = 0;
};

// The interfaces that a broadcast goes out of: up, not loopback, broadcast-capable, each once
// with all its addresses, in the order listed.
std::vector<NetworkInterface> BroadcastInterfaces(std::span<const InterfaceAddress> addresses);

// Asks the system afresh on every call, so that an adapter plugged in since the last one is
// there. Each platform lists its adapters its own way (net/posix/interfaces.cpp).
std::vector<NetworkInterface> ListBroadcastInterfaces();

// "10.98.0.1/24", as the user is shown a network.
std::string FormatNetwork(std::uint32_t address, int prefixLength);

// The first of interfaces with that index; nullptr if there is none.
const NetworkInterface* FindInterface(std::span<const NetworkInterface> interfaces, unsigned index);

}  // namespace kestrelink
