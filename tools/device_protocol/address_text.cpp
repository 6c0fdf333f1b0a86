#include "tools/device_protocol/address_text.h"

#include <charconv>

namespace kestrelink::device {

std::string DottedText(std::uint32_t value) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(value >> shift & 0xFFu);
    }
    return text;
}

std::optional<std::uint32_t> ParseDotted(std::string_view text) {
    std::uint32_t value = 0;
    const char* next = text.data();
    const char* const end = text.data() + text.size();
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (next == end || *next != '.') {
                return std::nullopt;
            }
            ++next;
        }
        unsigned octet = 0;
        const auto [stop, error] = std::from_chars(next, end, octet);
        if (error != std::errc() || octet > 255) {
            return std::nullopt;
        }
        next = stop;
        value = value << 8 | octet;
    }
    return next == end ? std::optional(value) : std::nullopt;
}

}  // namespace kestrelink::device
