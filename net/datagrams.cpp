#include "net/datagrams.h"

#include <algorithm>

#include "net/wire.h"

namespace kestrelink {
namespace {

// Announcement08
constexpr std::size_t kA08Serial = 0;
constexpr std::size_t kA08Ip = 4;
constexpr std::size_t kA08Mac = 16;
constexpr std::size_t kA08Product = 22;
constexpr std::size_t kA08Given = 38;
constexpr std::size_t kA08Version = 54;
constexpr std::size_t kA08TextWidth = 16;

// Announcement32
constexpr std::size_t kA32Product = 8;
constexpr std::size_t kA32Given = 40;
constexpr std::size_t kA32NameWidth = 32;
constexpr std::size_t kA32Version = 72;
constexpr std::size_t kA32VersionWidth = 20;
constexpr std::size_t kA32Serial = 92;
constexpr std::size_t kA32IpText = 96;
constexpr std::size_t kA32IpTextWidth = 128;
constexpr std::size_t kA32Mac = 224;

// ConfigRequest08
constexpr std::size_t kC08Ip = 2;
constexpr std::size_t kC08Mask = 6;
constexpr std::size_t kC08Gateway = 10;
constexpr std::size_t kC08Password = 14;
constexpr std::size_t kC08Mac = 30;

// ConfigRequest32
constexpr std::size_t kC32UseDhcp = 4;
constexpr std::size_t kC32Localhost = 8;
constexpr std::size_t kC32HostName = 12;
constexpr std::size_t kC32IpText = 44;
constexpr std::size_t kC32MaskText = 76;
constexpr std::size_t kC32GatewayText = 108;
constexpr std::size_t kC32DnsText = 140;
constexpr std::size_t kC32Password = 172;
constexpr std::size_t kC32Mac = 188;

MacAddress ReadMac(std::span<const std::uint8_t> bytes, std::size_t offset) {
    MacAddress mac{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), mac.size(), mac.begin());
    return mac;
}

std::array<std::uint8_t, 4> AddressBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

void WriteTargetMac(std::span<std::uint8_t> bytes, std::size_t offset, std::string_view macText) {
    if (const auto mac = ParseMacText(macText)) {
        wire::WriteBytes(bytes, offset, *mac);
    }
}

void WriteMagic16(std::span<std::uint8_t> bytes, std::uint16_t magic) {
    bytes[0] = static_cast<std::uint8_t>(magic);
    bytes[1] = static_cast<std::uint8_t>(magic >> 8);
}

}  // namespace

std::optional<Announcement> DecodeAnnouncement08(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != ANNOUNCEMENT08_LENGTH) {
        return std::nullopt;
    }
    Announcement a;
    a.family = DeviceFamily::Bits08;
    a.serialNumber = wire::ReadU32le(datagram, kA08Serial);
    std::copy_n(datagram.begin() + kA08Ip, a.ipAddress.size(), a.ipAddress.begin());
    a.macAddress = ReadMac(datagram, kA08Mac);
    a.productName = wire::ReadText(datagram, kA08Product, kA08TextWidth);
    a.givenName = wire::ReadText(datagram, kA08Given, kA08TextWidth);
    a.version = wire::ReadText(datagram, kA08Version, kA08TextWidth);
    return a;
}

std::optional<Announcement> DecodeAnnouncement32(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != ANNOUNCEMENT32_LENGTH) {
        return std::nullopt;
    }
    Announcement a;
    a.family = DeviceFamily::Bits32;
    a.productName = wire::ReadText(datagram, kA32Product, kA32NameWidth);
    a.givenName = wire::ReadText(datagram, kA32Given, kA32NameWidth);
    a.version = wire::ReadText(datagram, kA32Version, kA32VersionWidth);
    a.serialNumber = wire::ReadU32le(datagram, kA32Serial);
    a.ipAddressText = wire::ReadText(datagram, kA32IpText, kA32IpTextWidth);
    a.macAddress = ReadMac(datagram, kA32Mac);
    return a;
}

Probe08 BuildProbe08() {
    Probe08 probe{};
    WriteMagic16(probe, PROBE_MAGIC);
    return probe;
}

Probe32 BuildProbe32() {
    Probe32 probe{};
    wire::WriteU32le(probe, 0, PROBE_MAGIC);
    return probe;
}

ConfigRequest08 BuildConfigRequest08(const IpSettings& settings, std::string_view macText) {
    ConfigRequest08 request{};
    WriteMagic16(request, CONFIG_MAGIC);
    if (!settings.useDhcp) {
        wire::WriteBytes(request, kC08Ip, AddressBytes(settings.ipAddress));
        wire::WriteBytes(request, kC08Mask, AddressBytes(settings.subnetMask));
        wire::WriteBytes(request, kC08Gateway, AddressBytes(settings.gateway));
    }
    wire::WriteText(request, kC08Password, PASSWORD_MAX_LENGTH, settings.password);
    WriteTargetMac(request, kC08Mac, macText);
    return request;
}

ConfigRequest32 BuildConfigRequest32(const IpSettings& settings, std::string_view macText,
                                     const std::array<std::uint8_t, 4>& localhostAddress) {
    ConfigRequest32 request{};
    wire::WriteU32le(request, 0, CONFIG_MAGIC);
    wire::WriteU32le(request, kC32UseDhcp, settings.useDhcp ? 1 : 0);
    wire::WriteBytes(request, kC32Localhost, localhostAddress);
    wire::WriteText(request, kC32HostName, HOST_NAME_MAX_LENGTH, settings.hostName);
    const auto textOf = [&](std::uint32_t value) {
        return FormatDottedQuad(settings.useDhcp ? 0 : value);
    };
    constexpr std::size_t kAddressTextMax = 31;
    wire::WriteText(request, kC32IpText, kAddressTextMax, textOf(settings.ipAddress).View());
    wire::WriteText(request, kC32MaskText, kAddressTextMax, textOf(settings.subnetMask).View());
    wire::WriteText(request, kC32GatewayText, kAddressTextMax, textOf(settings.gateway).View());
    wire::WriteText(request, kC32DnsText, kAddressTextMax, textOf(settings.dnsServer).View());
    wire::WriteText(request, kC32Password, PASSWORD_MAX_LENGTH, settings.password);
    WriteTargetMac(request, kC32Mac, macText);
    return request;
}

}  // namespace kestrelink
