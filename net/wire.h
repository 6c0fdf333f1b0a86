#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Explicit little-endian and byte-wise field access on datagram buffers. Every read is bounded
// by the span it is given: a field that does not fit reads as zero or as a shorter text.
namespace kestrelink::wire {

std::uint32_t ReadU32le(std::span<const std::uint8_t> bytes, std::size_t offset);
// Fills destination with the bytes at offset; leaves it as it is when they do not fit.
void ReadBytes(std::span<const std::uint8_t> bytes, std::size_t offset,
               std::span<std::uint8_t> destination);
// The text starting at offset that ends at its first NUL, at the end of its width, or at the end
// of the span, whichever comes first.
std::string_view ReadText(std::span<const std::uint8_t> bytes, std::size_t offset,
                          std::size_t width);

void WriteU32le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);
// Writes at most maxLength characters of text; the rest of the field keeps what the buffer held
// (zero in every buffer this program builds).
void WriteText(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t maxLength,
               std::string_view text);
void WriteBytes(std::span<std::uint8_t> bytes, std::size_t offset,
                std::span<const std::uint8_t> source);

}  // namespace kestrelink::wire
