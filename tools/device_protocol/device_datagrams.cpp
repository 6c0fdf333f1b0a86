#include "tools/device_protocol/device_datagrams.h"

#include "tools/device_protocol/address_text.h"
#include "tools/device_protocol/payload_fields.h"

namespace kestrelink::device {
namespace {

namespace announcement08 {
constexpr Field kSerialNumber{0, 4};
constexpr Field kIpAddress{4, 4};
constexpr Field kMacAddress{16, 6};
constexpr Field kProductName{22, 16};
constexpr Field kGivenName{38, 16};
constexpr Field kVersion{54, 16};
}  // namespace announcement08

namespace announcement32 {
constexpr Field kProductName{8, 32};
constexpr Field kGivenName{40, 32};
constexpr Field kVersion{72, 20};
constexpr Field kSerialNumber{92, 4};
constexpr Field kIpAddressText{96, 128};
constexpr Field kMacAddress{224, 6};
}  // namespace announcement32

namespace request08 {
constexpr Field kMagic{0, 2};
constexpr Field kIpAddress{2, 4};
constexpr Field kSubnetMask{6, 4};
constexpr Field kGateway{10, 4};
constexpr Field kPassword{14, 16};
constexpr Field kMacAddress{30, 6};
}  // namespace request08

namespace request32 {
constexpr Field kMagic{0, 4};
constexpr Field kUseDhcp{4, 4};
constexpr Field kLocalhostAddress{8, 4};
constexpr Field kHostName{12, 32};
constexpr Field kIpAddressText{44, 32};
constexpr Field kSubnetMaskText{76, 32};
constexpr Field kGatewayText{108, 32};
constexpr Field kDnsServerText{140, 32};
constexpr Field kPassword{172, 16};
constexpr Field kMacAddress{188, 6};
}  // namespace request32

std::vector<std::uint8_t> Encode08(const AnnouncementFields& f) {
    using namespace announcement08;
    std::vector<std::uint8_t> d(kAnnouncement08Length, 0);
    PutU32le(d, kSerialNumber, f.serialNumber);
    PutIpv4(d, kIpAddress, f.ipAddress);
    PutMac(d, kMacAddress, f.macAddress);
    PutText(d, kProductName, f.productName);
    PutText(d, kGivenName, f.givenName);
    PutText(d, kVersion, f.version);
    return d;
}

std::vector<std::uint8_t> Encode32(const AnnouncementFields& f) {
    using namespace announcement32;
    std::vector<std::uint8_t> d(kAnnouncement32Length, 0);
    PutText(d, kProductName, f.productName);
    PutText(d, kGivenName, f.givenName);
    PutText(d, kVersion, f.version);
    PutU32le(d, kSerialNumber, f.serialNumber);
    PutText(d, kIpAddressText, f.ipAddressText);
    PutMac(d, kMacAddress, f.macAddress);
    return d;
}

std::uint32_t GetAddressText(std::span<const std::uint8_t> d, Field field) {
    return ParseDotted(GetText(d, field)).value_or(0);
}

std::optional<ReceivedConfig> Decode08(std::span<const std::uint8_t> d) {
    using namespace request08;
    if (d.size() != kConfigRequest08Length || GetU32le(d, kMagic) != kConfigMagic) {
        return std::nullopt;
    }
    ReceivedConfig config;
    config.ipAddress = GetIpv4(d, kIpAddress);
    config.subnetMask = GetIpv4(d, kSubnetMask);
    config.gateway = GetIpv4(d, kGateway);
    config.useDhcp = config.ipAddress == 0 && config.subnetMask == 0 && config.gateway == 0;
    config.password = GetText(d, kPassword);
    config.macAddress = GetMac(d, kMacAddress);
    return config;
}

std::optional<ReceivedConfig> Decode32(std::span<const std::uint8_t> d) {
    using namespace request32;
    if (d.size() != kConfigRequest32Length || GetU32le(d, kMagic) != kConfigMagic) {
        return std::nullopt;
    }
    // Only 0 and 1 are flags; anything else is a request this device does not understand.
    const std::uint32_t useDhcp = GetU32le(d, kUseDhcp);
    if (useDhcp > 1) {
        return std::nullopt;
    }
    ReceivedConfig config;
    config.useDhcp = useDhcp == 1;
    config.localhostAddress = GetIpv4(d, kLocalhostAddress);
    config.hostName = GetText(d, kHostName);
    config.ipAddress = GetAddressText(d, kIpAddressText);
    config.subnetMask = GetAddressText(d, kSubnetMaskText);
    config.gateway = GetAddressText(d, kGatewayText);
    config.dnsServer = GetAddressText(d, kDnsServerText);
    config.password = GetText(d, kPassword);
    config.macAddress = GetMac(d, kMacAddress);
    return config;
}

}  // namespace

std::vector<std::uint8_t> EncodeAnnouncement(Family family, const AnnouncementFields& fields) {
    return family == Family::Bits32 ? Encode32(fields) : Encode08(fields);
}

bool IsProbe(Family family, std::span<const std::uint8_t> datagram) {
    const std::size_t length = family == Family::Bits32 ? kProbe32Length : kProbe08Length;
    return datagram.size() == length && GetU32le(datagram, {0, length}) == kProbeMagic;
}

std::optional<ReceivedConfig> DecodeConfigRequest(Family family,
                                                  std::span<const std::uint8_t> datagram) {
    return family == Family::Bits32 ? Decode32(datagram) : Decode08(datagram);
}

}  // namespace kestrelink::device
