#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/protocol.h"
#include "provisioning/listed_device.h"

namespace kestrelink {
struct Announcement;
}

namespace kestrelink::cli {

// One device as it last announced itself. The texts are the device's own single-byte texts;
// they become UTF-8 only on their way out.
struct DiscoveredDevice {
    std::string ip;
    std::string mac;  // lower-case, as the window lists it
    std::string productName;
    std::string givenName;
    std::string version;
    std::uint32_t serialNumber = 0;
    DeviceFamily family = DeviceFamily::Bits08;
    std::string interfaceName;  // empty where the endpoint cannot tell
    bool conflict = false;      // another device announces the same IP
    // Its IP lies in none of the networks of the interface it was heard on, so nothing sent to
    // that address gets through; false where the interface is not known.
    bool outside = false;
};

// Owned copies of the texts, which in the announcement point into the receive buffer.
DiscoveredDevice RecordOf(const Announcement& announcement, std::string interfaceName);

// Ordered by IP numerically, then by MAC. Unlike the window, a device whose IP another device
// announces is kept, and both are marked: a script that provisions devices needs to see that.
std::vector<DiscoveredDevice> ListInOrder(std::vector<DiscoveredDevice> devices);

using provisioning::FamilyText;

provisioning::ListedDevice ListedOf(const DiscoveredDevice& device);

}  // namespace kestrelink::cli
