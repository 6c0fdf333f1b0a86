#include "cli/terminal_text.h"

#include <cstdint>

namespace kestrelink::cli {
namespace {

bool IsControl(std::uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

void AppendEscaped(std::string& text, std::uint32_t value) {
    constexpr char kDigits[] = "0123456789abcdef";
    text += "\\x";
    text += kDigits[(value >> 4) & 0xF];
    text += kDigits[value & 0xF];
}

// The code point of the well-formed sequence at the start of bytes and its length, or a length
// of 0 when there is none: no overlong forms, no surrogates, nothing beyond U+10FFFF.
struct Decoded {
    std::uint32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded DecodeOne(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80;  // the second byte's range, narrowed where the lead allows less
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {};
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high) {
        return {};
    }
    std::uint32_t codePoint = lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        codePoint = codePoint << 6 | (byte(i) & 0x3Fu);
    }
    return {codePoint, length};
}

}  // namespace

std::string TerminalText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    while (!utf8.empty()) {
        const Decoded decoded = DecodeOne(utf8);
        if (decoded.length == 0) {
            AppendEscaped(text, static_cast<std::uint8_t>(utf8.front()));
            utf8.remove_prefix(1);
            continue;
        }
        if (IsControl(decoded.codePoint)) {
            AppendEscaped(text, decoded.codePoint);
        } else {
            text += utf8.substr(0, decoded.length);
        }
        utf8.remove_prefix(decoded.length);
    }
    return text;
}

}  // namespace kestrelink::cli
