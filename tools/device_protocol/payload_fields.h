#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tools/device_protocol/device_protocol.h"

// Typed access to one field of a datagram, placed as the protocol's tables place it. A field that
// does not lie wholly inside the datagram is left alone on writing and reads as zero or empty.
namespace kestrelink::device {

struct Field {
    std::size_t offset = 0;
    std::size_t size = 0;
};

void PutU32le(std::span<std::uint8_t> datagram, Field field, std::uint32_t value);
// value holds the first octet in its most significant byte; it goes out first.
void PutIpv4(std::span<std::uint8_t> datagram, Field field, std::uint32_t value);
void PutMac(std::span<std::uint8_t> datagram, Field field, const Mac& mac);
// Cut to the field's size: a text as long as its field goes out without a NUL.
void PutText(std::span<std::uint8_t> datagram, Field field, std::string_view text);

std::uint32_t GetU32le(std::span<const std::uint8_t> datagram, Field field);
std::uint32_t GetIpv4(std::span<const std::uint8_t> datagram, Field field);
Mac GetMac(std::span<const std::uint8_t> datagram, Field field);
// Up to the first NUL, or the whole field when it holds none.
std::string GetText(std::span<const std::uint8_t> datagram, Field field);

}  // namespace kestrelink::device
