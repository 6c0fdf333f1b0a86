#include "tools/device_protocol/device_datagrams.h"

#include <array>
#include <string>

#include "net/datagram_layout.h"
#include "net/wire.h"

namespace kestrelink {
namespace {

using namespace layout;

std::uint32_t ReadAddressBytes(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::array<std::uint8_t, 4> address{};
    wire::ReadBytes(bytes, offset, address);
    return std::uint32_t{address[0]} << 24 | std::uint32_t{address[1]} << 16 |
           std::uint32_t{address[2]} << 8 | std::uint32_t{address[3]};
}

// A dotted text that does not convert reads as 0, as a device would treat garbage.
std::uint32_t ReadAddressText(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return ParseDottedQuad(wire::ReadText(bytes, offset, kC32AddressTextWidth)).value_or(0);
}

std::vector<std::uint8_t> Encode08(const AnnouncementFields& f) {
    std::vector<std::uint8_t> d(kAnnouncement08Length, 0);
    wire::WriteU32le(d, kA08Serial, f.serialNumber);
    wire::WriteBytes(d, kA08Ip, AddressToBytes(f.ipAddress));
    wire::WriteBytes(d, kA08Mac, f.macAddress);
    wire::WriteText(d, kA08Product, kA08TextWidth, f.productName);
    wire::WriteText(d, kA08Given, kA08TextWidth, f.givenName);
    wire::WriteText(d, kA08Version, kA08TextWidth, f.version);
    return d;
}

std::vector<std::uint8_t> Encode32(const AnnouncementFields& f) {
    std::vector<std::uint8_t> d(kAnnouncement32Length, 0);
    wire::WriteText(d, kA32Product, kA32NameWidth, f.productName);
    wire::WriteText(d, kA32Given, kA32NameWidth, f.givenName);
    wire::WriteText(d, kA32Version, kA32VersionWidth, f.version);
    wire::WriteU32le(d, kA32Serial, f.serialNumber);
    wire::WriteText(d, kA32IpText, kA32IpTextWidth, f.ipAddressText);
    wire::WriteBytes(d, kA32Mac, f.macAddress);
    return d;
}

}  // namespace

std::vector<std::uint8_t> EncodeAnnouncement(DeviceFamily family,
                                             const AnnouncementFields& fields) {
    return family == DeviceFamily::Bits32 ? Encode32(fields) : Encode08(fields);
}

std::optional<ReceivedConfig> DecodeConfigRequest(DeviceFamily family,
                                                  std::span<const std::uint8_t> d) {
    ReceivedConfig config;
    if (family == DeviceFamily::Bits08) {
        // The 08bits magic is 16 bits wide, least significant byte first.
        if (d.size() != kConfigRequest08Length || (d[0] | d[1] << 8) != CONFIG_MAGIC) {
            return std::nullopt;
        }
        config.ipAddress = ReadAddressBytes(d, kC08Ip);
        config.subnetMask = ReadAddressBytes(d, kC08Mask);
        config.gateway = ReadAddressBytes(d, kC08Gateway);
        config.useDhcp = config.ipAddress == 0 && config.subnetMask == 0 && config.gateway == 0;
        config.password = std::string(wire::ReadText(d, kC08Password, kC08PasswordWidth));
        wire::ReadBytes(d, kC08Mac, config.macAddress);
        return config;
    }
    if (d.size() != kConfigRequest32Length || wire::ReadU32le(d, 0) != CONFIG_MAGIC) {
        return std::nullopt;
    }
    config.useDhcp = wire::ReadU32le(d, kC32UseDhcp) != 0;
    config.hostName = std::string(wire::ReadText(d, kC32HostName, kC32HostNameWidth));
    config.ipAddress = ReadAddressText(d, kC32IpText);
    config.subnetMask = ReadAddressText(d, kC32MaskText);
    config.gateway = ReadAddressText(d, kC32GatewayText);
    config.dnsServer = ReadAddressText(d, kC32DnsText);
    config.password = std::string(wire::ReadText(d, kC32Password, kC32PasswordWidth));
    wire::ReadBytes(d, kC32Mac, config.macAddress);
    return config;
}

}  // namespace kestrelink
