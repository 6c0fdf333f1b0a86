#include "net/wire.h"

#include <algorithm>
#include <cstring>

namespace kestrelink::wire {
namespace {

bool Fits(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

}  // namespace

std::uint32_t ReadU32le(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (!Fits(bytes.size(), offset, 4)) {
        return 0;
    }
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

void ReadBytes(std::span<const std::uint8_t> bytes, std::size_t offset,
               std::span<std::uint8_t> destination) {
    if (!Fits(bytes.size(), offset, destination.size())) {
        return;
    }
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), destination.size(),
                destination.begin());
}

std::string_view ReadText(std::span<const std::uint8_t> bytes, std::size_t offset,
                          std::size_t width) {
    if (offset >= bytes.size()) {
        return {};
    }
    const auto field = bytes.subspan(offset, std::min(width, bytes.size() - offset));
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(field.data()),
            static_cast<std::size_t>(end - field.begin())};
}

void WriteU32le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    if (!Fits(bytes.size(), offset, 4)) {
        return;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void WriteText(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t maxLength,
               std::string_view text) {
    if (offset >= bytes.size()) {
        return;
    }
    const std::size_t length = std::min({text.size(), maxLength, bytes.size() - offset});
    std::memcpy(bytes.data() + offset, text.data(), length);
}

void WriteBytes(std::span<std::uint8_t> bytes, std::size_t offset,
                std::span<const std::uint8_t> source) {
    if (!Fits(bytes.size(), offset, source.size())) {
        return;
    }
    std::copy(source.begin(), source.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace kestrelink::wire
