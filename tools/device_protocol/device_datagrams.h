#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/datagrams.h"

// The device's side of the protocol: what a device sends and how it reads a configuration
// request. The program itself never encodes announcements; the device simulator, the tests and
// the benchmarks do.
namespace kestrelink {

struct AnnouncementFields {
    std::uint32_t serialNumber = 0;
    std::uint32_t ipAddress = 0;  // Bits08: first octet most significant
    std::string ipAddressText;    // Bits32: sent as it stands, up to 128 bytes
    MacAddress macAddress{};
    std::string productName;
    std::string givenName;
    std::string version;
};

// Texts fill their fields up to the full width; a text as long as its field goes out without
// a NUL, as some devices send it.
std::vector<std::uint8_t> EncodeAnnouncement(DeviceFamily family, const AnnouncementFields& fields);

// What a device reads out of a ConfigRequest08 or ConfigRequest32 of the exact length.
struct ReceivedConfig {
    MacAddress macAddress{};
    bool useDhcp = false;  // Bits08: all three addresses zero
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dnsServer = 0;  // Bits32 only
    std::string hostName;         // Bits32 only
    std::string password;
};

std::optional<ReceivedConfig> DecodeConfigRequest(DeviceFamily family,
                                                  std::span<const std::uint8_t> datagram);

}  // namespace kestrelink
