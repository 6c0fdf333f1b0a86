#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "net/protocol.h"
#include "net/text_forms.h"

namespace kestrelink {

struct NetworkInterface;

// One device's description as it arrived. The texts are views into the received datagram, so
// an Announcement lives no longer than the buffer it was decoded from.
struct Announcement {
    DeviceFamily family = DeviceFamily::Bits08;
    std::uint32_t serialNumber = 0;
    std::array<std::uint8_t, 4> ipAddress{};  // Bits08 only, first octet first
    std::string_view ipAddressText;           // Bits32 only, as received
    MacAddress macAddress{};
    std::string_view productName;
    std::string_view givenName;
    std::string_view version;
    // Not in the datagram: the probed interface it came in on, noted by the intake; nullptr
    // when it came in on none of them. Lives no longer than the datagram's texts.
    const NetworkInterface* heardOn = nullptr;
};

// Both return nullopt unless the span has exactly the announcement's length.
std::optional<Announcement> DecodeAnnouncement08(std::span<const std::uint8_t> datagram);
std::optional<Announcement> DecodeAnnouncement32(std::span<const std::uint8_t> datagram);

using Probe08 = std::array<std::uint8_t, kProbe08Length>;
using Probe32 = std::array<std::uint8_t, kProbe32Length>;
using ConfigRequest08 = std::array<std::uint8_t, kConfigRequest08Length>;
using ConfigRequest32 = std::array<std::uint8_t, kConfigRequest32Length>;

Probe08 BuildProbe08();
Probe32 BuildProbe32();

// New settings for one device, as the configuration dialog hands them over. Addresses hold the
// first octet in their most significant byte.
struct IpSettings {
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dnsServer = 0;
    bool useDhcp = false;
    std::string password;  // at most 15 characters reach the wire
    std::string hostName;  // at most 31 characters reach the wire
};

inline constexpr std::size_t kPasswordMaxLength = 15;
inline constexpr std::size_t kHostNameMaxLength = 31;

// macText is the target row's MAC cell; a text that does not parse leaves the MAC field zero.
ConfigRequest08 BuildConfigRequest08(const IpSettings& settings, std::string_view macText);
// localhostAddress: four bytes in wire order, or all zero.
ConfigRequest32 BuildConfigRequest32(const IpSettings& settings, std::string_view macText,
                                     const std::array<std::uint8_t, 4>& localhostAddress);

}  // namespace kestrelink
