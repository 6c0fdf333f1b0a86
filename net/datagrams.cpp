#include "net/datagrams.h"

#include "net/datagram_layout.h"
#include "net/wire.h"

namespace kestrelink {
namespace {

using namespace layout;

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
    if (datagram.size() != kAnnouncement08Length) {
        return std::nullopt;
    }
    Announcement a;
    a.family = DeviceFamily::Bits08;
    a.serialNumber = wire::ReadU32le(datagram, kA08Serial);
    wire::ReadBytes(datagram, kA08Ip, a.ipAddress);
    wire::ReadBytes(datagram, kA08Mac, a.macAddress);
    a.productName = wire::ReadText(datagram, kA08Product, kA08TextWidth);
    a.givenName = wire::ReadText(datagram, kA08Given, kA08TextWidth);
    a.version = wire::ReadText(datagram, kA08Version, kA08TextWidth);
    return a;
}

std::optional<Announcement> DecodeAnnouncement32(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != kAnnouncement32Length) {
        return std::nullopt;
    }
    Announcement a;
    a.family = DeviceFamily::Bits32;
    a.productName = wire::ReadText(datagram, kA32Product, kA32NameWidth);
    a.givenName = wire::ReadText(datagram, kA32Given, kA32NameWidth);
    a.version = wire::ReadText(datagram, kA32Version, kA32VersionWidth);
    a.serialNumber = wire::ReadU32le(datagram, kA32Serial);
    a.ipAddressText = wire::ReadText(datagram, kA32IpText, kA32IpTextWidth);
    wire::ReadBytes(datagram, kA32Mac, a.macAddress);
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
        wire::WriteBytes(request, kC08Ip, AddressToBytes(settings.ipAddress));
        wire::WriteBytes(request, kC08Mask, AddressToBytes(settings.subnetMask));
        wire::WriteBytes(request, kC08Gateway, AddressToBytes(settings.gateway));
    }
    wire::WriteText(request, kC08Password, kPasswordMaxLength, settings.password);
    WriteTargetMac(request, kC08Mac, macText);
    return request;
}

ConfigRequest32 BuildConfigRequest32(const IpSettings& settings, std::string_view macText,
                                     const std::array<std::uint8_t, 4>& localhostAddress) {
    ConfigRequest32 request{};
    wire::WriteU32le(request, 0, CONFIG_MAGIC);
    wire::WriteU32le(request, kC32UseDhcp, settings.useDhcp ? 1 : 0);
    wire::WriteBytes(request, kC32Localhost, localhostAddress);
    wire::WriteText(request, kC32HostName, kHostNameMaxLength, settings.hostName);
    const auto textOf = [&](std::uint32_t value) {
        return FormatDottedQuad(settings.useDhcp ? 0 : value);
    };
    constexpr std::size_t kAddressTextMax = kC32AddressTextWidth - 1;
    wire::WriteText(request, kC32IpText, kAddressTextMax, textOf(settings.ipAddress).View());
    wire::WriteText(request, kC32MaskText, kAddressTextMax, textOf(settings.subnetMask).View());
    wire::WriteText(request, kC32GatewayText, kAddressTextMax, textOf(settings.gateway).View());
    wire::WriteText(request, kC32DnsText, kAddressTextMax, textOf(settings.dnsServer).View());
    wire::WriteText(request, kC32Password, kPasswordMaxLength, settings.password);
    WriteTargetMac(request, kC32Mac, macText);
    return request;
}

}  // namespace kestrelink
