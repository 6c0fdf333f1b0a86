#include "tools/device_protocol/payload_fields.h"

#include <algorithm>

namespace kestrelink::device {
namespace {

bool Fits(std::size_t datagramSize, Field field) {
    return field.offset <= datagramSize && field.size <= datagramSize - field.offset;
}

std::span<std::uint8_t> Slot(std::span<std::uint8_t> datagram, Field field) {
    return Fits(datagram.size(), field) ? datagram.subspan(field.offset, field.size)
                                        : std::span<std::uint8_t>();
}

std::span<const std::uint8_t> Slot(std::span<const std::uint8_t> datagram, Field field) {
    return Fits(datagram.size(), field) ? datagram.subspan(field.offset, field.size)
                                        : std::span<const std::uint8_t>();
}

// Most significant byte first when bigEndian, else least significant first.
void PutNumber(std::span<std::uint8_t> slot, std::uint32_t value, bool bigEndian) {
    for (std::size_t i = 0; i < slot.size(); ++i) {
        const std::size_t shift = 8 * (bigEndian ? slot.size() - 1 - i : i);
        slot[i] = static_cast<std::uint8_t>(value >> shift);
    }
}

std::uint32_t GetNumber(std::span<const std::uint8_t> slot, bool bigEndian) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < slot.size(); ++i) {
        const std::size_t shift = 8 * (bigEndian ? slot.size() - 1 - i : i);
        value |= std::uint32_t{slot[i]} << shift;
    }
    return value;
}

}  // namespace

void PutU32le(std::span<std::uint8_t> datagram, Field field, std::uint32_t value) {
    PutNumber(Slot(datagram, field), value, false);
}

void PutIpv4(std::span<std::uint8_t> datagram, Field field, std::uint32_t value) {
    PutNumber(Slot(datagram, field), value, true);
}

void PutMac(std::span<std::uint8_t> datagram, Field field, const Mac& mac) {
    const auto slot = Slot(datagram, field);
    std::copy_n(mac.begin(), std::min(slot.size(), mac.size()), slot.begin());
}

void PutText(std::span<std::uint8_t> datagram, Field field, std::string_view text) {
    const auto slot = Slot(datagram, field);
    std::copy_n(text.begin(), std::min(slot.size(), text.size()), slot.begin());
}

std::uint32_t GetU32le(std::span<const std::uint8_t> datagram, Field field) {
    return GetNumber(Slot(datagram, field), false);
}

std::uint32_t GetIpv4(std::span<const std::uint8_t> datagram, Field field) {
    return GetNumber(Slot(datagram, field), true);
}

Mac GetMac(std::span<const std::uint8_t> datagram, Field field) {
    const auto slot = Slot(datagram, field);
    Mac mac{};
    std::copy_n(slot.begin(), std::min(slot.size(), mac.size()), mac.begin());
    return mac;
}

std::string GetText(std::span<const std::uint8_t> datagram, Field field) {
    const auto slot = Slot(datagram, field);
    const auto end = std::find(slot.begin(), slot.end(), std::uint8_t{0});
    return std::string(slot.begin(), end);
}

}  // namespace kestrelink::device
