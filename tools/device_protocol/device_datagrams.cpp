#include "tools/device_protocol/device_datagrams.h"

#include <arpa/inet.h>

#include <algorithm>

#include "net/wire.h"

namespace kestrelink {
namespace {

std::uint32_t ReadAddressBytes(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
           std::uint32_t{bytes[offset + 2]} << 8 | std::uint32_t{bytes[offset + 3]};
}

void WriteAddressBytes(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A dotted text that does not convert reads as 0, as a device would treat garbage.
std::uint32_t ReadAddressText(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::string text(wire::ReadText(bytes, offset, 32));
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1) {
        return 0;
    }
    return ntohl(address.s_addr);
}

MacAddress ReadMac(std::span<const std::uint8_t> bytes, std::size_t offset) {
    MacAddress mac{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), mac.size(), mac.begin());
    return mac;
}

std::vector<std::uint8_t> Encode08(const AnnouncementFields& f) {
    std::vector<std::uint8_t> d(ANNOUNCEMENT08_LENGTH, 0);
    wire::WriteU32le(d, 0, f.serialNumber);
    WriteAddressBytes(d, 4, f.ipAddress);
    wire::WriteBytes(d, 16, f.macAddress);
    wire::WriteText(d, 22, 16, f.productName);
    wire::WriteText(d, 38, 16, f.givenName);
    wire::WriteText(d, 54, 16, f.version);
    return d;
}

std::vector<std::uint8_t> Encode32(const AnnouncementFields& f) {
    std::vector<std::uint8_t> d(ANNOUNCEMENT32_LENGTH, 0);
    wire::WriteText(d, 8, 32, f.productName);
    wire::WriteText(d, 40, 32, f.givenName);
    wire::WriteText(d, 72, 20, f.version);
    wire::WriteU32le(d, 92, f.serialNumber);
    wire::WriteText(d, 96, 128, f.ipAddressText);
    wire::WriteBytes(d, 224, f.macAddress);
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
        if (d.size() != CONFIG_REQUEST08_LENGTH || d[0] != 0xA5 || d[1] != 0xA5) {
            return std::nullopt;
        }
        config.ipAddress = ReadAddressBytes(d, 2);
        config.subnetMask = ReadAddressBytes(d, 6);
        config.gateway = ReadAddressBytes(d, 10);
        config.useDhcp = config.ipAddress == 0 && config.subnetMask == 0 && config.gateway == 0;
        config.password = std::string(wire::ReadText(d, 14, 16));
        config.macAddress = ReadMac(d, 30);
        return config;
    }
    if (d.size() != CONFIG_REQUEST32_LENGTH || wire::ReadU32le(d, 0) != CONFIG_MAGIC) {
        return std::nullopt;
    }
    config.useDhcp = wire::ReadU32le(d, 4) != 0;
    config.hostName = std::string(wire::ReadText(d, 12, 32));
    config.ipAddress = ReadAddressText(d, 44);
    config.subnetMask = ReadAddressText(d, 76);
    config.gateway = ReadAddressText(d, 108);
    config.dnsServer = ReadAddressText(d, 140);
    config.password = std::string(wire::ReadText(d, 172, 16));
    config.macAddress = ReadMac(d, 188);
    return config;
}

}  // namespace kestrelink
