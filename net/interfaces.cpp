#include "net/interfaces.h"

#include <algorithm>
#include <bit>

#include "net/text_forms.h"

namespace kestrelink {

std::vector<NetworkInterface> BroadcastInterfaces(std::span<const InterfaceAddress> addresses) {
    std::vector<NetworkInterface> interfaces;
    for (const InterfaceAddress& entry : addresses) {
        if (!entry.up || entry.loopback || !entry.broadcast || entry.index == 0) {
            continue;
        }
        const int prefixLength = std::countl_one(entry.netmask);
        // An interface with several addresses is probed once: a limited broadcast reaches the
        // whole link whichever address it leaves from.
        const auto known =
            std::find_if(interfaces.begin(), interfaces.end(),
                         [&](const NetworkInterface& i) { return i.index == entry.index; });
        if (known != interfaces.end()) {
            known->furtherNetworks.push_back({entry.address, prefixLength});
            continue;
        }
        interfaces.push_back({entry.index, entry.name, entry.address, prefixLength, {}});
    }
    return interfaces;
}

std::string FormatNetwork(std::uint32_t address, int prefixLength) {
    return std::string(FormatDottedQuad(address).View()) + "/" + std::to_string(prefixLength);
}

const NetworkInterface* FindInterface(std::span<const NetworkInterface> interfaces,
                                      unsigned index) {
    const auto found =
        std::find_if(interfaces.begin(), interfaces.end(),
                     [index](const NetworkInterface& i) { return i.index == index; });
    return found == interfaces.end() ? nullptr : &*found;
}

}  // namespace kestrelink
