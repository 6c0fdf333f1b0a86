#include "tools/devsim/malformed.h"

#include <array>
#include <utility>

#include "tools/devsim/device_set.h"

namespace kestrelink::devsim {
namespace {

constexpr std::size_t kOversizeLength = 300;
// Wider than every text field of either family, the 128-byte address text of Bits32 included.
constexpr std::size_t kOverlongText = 160;

constexpr std::array<std::pair<std::string_view, MalformedKind>, 7> kNames{{
    {"short", MalformedKind::Short},
    {"long", MalformedKind::Long},
    {"oversize", MalformedKind::Oversize},
    {"swapped", MalformedKind::Swapped},
    {"no-nul", MalformedKind::NoNul},
    {"dup-ip", MalformedKind::DuplicateIp},
    {"dup-mac", MalformedKind::DuplicateMac},
}};

device::Family OtherFamily(device::Family family) {
    return family == device::Family::Bits32 ? device::Family::Bits08 : device::Family::Bits32;
}

// Outside every range the options give (MACs 0e:ee:..., addresses 10.213.250.x), so that a
// datagram wrongly taken in shows up as a row of its own.
EmulatedDevice Stranger(MalformedKind kind, device::Family family) {
    const auto index = static_cast<std::uint8_t>(kind);
    const std::uint8_t familyByte = family == device::Family::Bits32 ? 0x32 : 0x08;
    const std::uint32_t familyBits = familyByte == 0x32 ? 0x80u : 0x00u;
    return {.family = family,
            .macAddress = {0x0e, 0xee, 0x00, 0x00, familyByte, index},
            .ipAddress = 0x0AD5FA00u | familyBits | (index + 1u),
            .serialNumber = 0xEEEE0000u | std::uint32_t{familyByte} << 8 | index,
            .productName = "Malformed",
            .givenName = "stranger",
            .version = "0"};
}

std::string Repeated(std::string_view stem, std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += stem;
    }
    text.resize(length);
    return text;
}

std::vector<std::uint8_t> EncodeWithoutNul(const EmulatedDevice& device) {
    device::AnnouncementFields fields = FieldsOf(device);
    fields.productName = Repeated("product", kOverlongText);
    fields.givenName = Repeated("given", kOverlongText);
    fields.version = Repeated("version", kOverlongText);
    fields.ipAddressText += Repeated("x", kOverlongText);
    return device::EncodeAnnouncement(device.family, fields);
}

}  // namespace

std::optional<MalformedKind> ParseMalformedKind(std::string_view name) {
    for (const auto& [text, kind] : kNames) {
        if (text == name) {
            return kind;
        }
    }
    return std::nullopt;
}

std::optional<MalformedDatagram> BuildMalformed(MalformedKind kind, device::Family family,
                                                std::span<const EmulatedDevice> devices) {
    EmulatedDevice stranger = Stranger(kind, family);
    MalformedDatagram datagram;
    switch (kind) {
        case MalformedKind::Short:
            datagram.bytes = EncodeDevice(stranger);
            datagram.bytes.pop_back();
            break;
        case MalformedKind::Long:
            datagram.bytes = EncodeDevice(stranger);
            datagram.bytes.push_back(0);
            break;
        case MalformedKind::Oversize:
            datagram.bytes = EncodeDevice(stranger);
            datagram.bytes.resize(kOversizeLength, 0);
            break;
        case MalformedKind::Swapped:
            stranger.family = OtherFamily(family);
            datagram.bytes = EncodeDevice(stranger);
            break;
        case MalformedKind::NoNul:
            datagram.bytes = EncodeWithoutNul(stranger);
            break;
        case MalformedKind::DuplicateIp:
        case MalformedKind::DuplicateMac:
            if (devices.empty()) {
                return std::nullopt;
            }
            if (kind == MalformedKind::DuplicateIp) {
                stranger.ipAddress = devices.front().ipAddress;
            } else {
                stranger.macAddress = devices.front().macAddress;
            }
            datagram.bytes = EncodeDevice(stranger);
            datagram.afterAnnouncements = true;
            break;
    }
    return datagram;
}

}  // namespace kestrelink::devsim
