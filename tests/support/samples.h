#pragma once

#include <string_view>

#include "net/datagrams.h"
#include "tools/device_protocol/device_datagrams.h"

// One device and one set of settings shared by the tests, so that each spells out only what it
// changes.
namespace kestrelink::testing {

inline constexpr MacAddress kSampleMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
inline constexpr std::string_view kSampleMacText = "00:1a:2b:3c:4d:5e";

// Serial 4000000000, 192.168.1.10 (as bytes and as text), kSampleMac, "Gateway Pro", "Roof",
// "4.0.1".
device::AnnouncementFields SampleAnnouncementFields();
// Static 192.168.1.50, mask 255.255.255.0, gateway 192.168.1.1, DNS 192.168.1.2, password
// "secret", host name "Unit".
IpSettings SampleSettings();

}  // namespace kestrelink::testing
