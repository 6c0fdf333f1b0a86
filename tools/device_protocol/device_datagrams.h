#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/device_protocol/device_protocol.h"

// What a device sends and how it reads what it is sent. The program itself never encodes
// announcements; the device simulator, the tests and the benchmarks do.
namespace kestrelink::device {

struct AnnouncementFields {
    std::uint32_t serialNumber = 0;
    std::uint32_t ipAddress = 0;  // Bits08: first octet most significant
    std::string ipAddressText;    // Bits32: sent as it stands, up to 128 bytes
    Mac macAddress{};
    std::string productName;
    std::string givenName;
    std::string version;
};

// Texts fill their fields up to the full width; a text as long as its field goes out without
// a NUL, as some devices send it.
std::vector<std::uint8_t> EncodeAnnouncement(Family family, const AnnouncementFields& fields);

// Only the family's probe, byte for byte.
bool IsProbe(Family family, std::span<const std::uint8_t> datagram);

// The password field's width, less the NUL that ends it.
inline constexpr std::size_t kPasswordMaxLength = 15;

// What a device reads out of a configuration request of its family's exact length.
struct ReceivedConfig {
    Mac macAddress{};
    bool useDhcp = false;  // Bits08: all three addresses zero
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dnsServer = 0;  // Bits32 only
    std::string hostName;         // Bits32 only
    std::string password;
    std::uint32_t localhostAddress = 0;  // Bits32 only: the sender's own, as it resolved it
};

// nullopt for a 32bits request whose DHCP flag is neither 0 nor 1. A dotted text that does not
// parse reads as 0.0.0.0, as a device would treat garbage.
std::optional<ReceivedConfig> DecodeConfigRequest(Family family,
                                                  std::span<const std::uint8_t> datagram);

}  // namespace kestrelink::device
