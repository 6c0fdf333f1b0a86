#include "cli/device_text.h"

#include <cstdint>

namespace kestrelink::cli {
namespace {

bool IsControl(unsigned codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::optional<std::string> Utf8ToDeviceText(std::string_view utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        unsigned codePoint = lead;
        if (lead >= 0x80) {
            // Latin-1 beyond ASCII is exactly the two-byte sequences C2 80 to C3 BF.
            if ((lead != 0xC2 && lead != 0xC3) || i + 1 == utf8.size()) {
                return std::nullopt;
            }
            const auto trail = static_cast<std::uint8_t>(utf8[++i]);
            if ((trail & 0xC0) != 0x80) {
                return std::nullopt;
            }
            codePoint = (lead & 0x1Fu) << 6 | (trail & 0x3Fu);
        }
        if (IsControl(codePoint)) {
            return std::nullopt;
        }
        text += static_cast<char>(codePoint);
    }
    return text;
}

}  // namespace kestrelink::cli
