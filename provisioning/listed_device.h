#pragma once

#include <string>
#include <string_view>

#include "net/protocol.h"

namespace kestrelink::provisioning {

// What the checks and the requests need of a device as it last announced itself; the texts are
// the device's own single-byte texts.
struct ListedDevice {
    std::string mac;  // lower-case, as the window lists it
    std::string ip;
    std::string givenName;
    DeviceFamily family = DeviceFamily::Bits08;
};

// "08bits" or "32bits", as the window's arch column shows it.
std::string_view FamilyText(DeviceFamily family);

}  // namespace kestrelink::provisioning
