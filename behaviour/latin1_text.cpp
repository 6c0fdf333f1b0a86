#include "behaviour/latin1_text.h"

#include <algorithm>
#include <cstdint>

namespace kestrelink {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One code point from the front of text, which it then drops; overlong forms, surrogates and
// values past U+10FFFF are malformed.
char32_t TakeCodePoint(std::string_view& text) {
    const auto lead = static_cast<std::uint8_t>(text.front());
    int length = 1;
    char32_t value = lead;
    char32_t smallest = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0x80) {
        text.remove_prefix(1);
        return kReplacement;
    }
    if (text.size() < static_cast<std::size_t>(length)) {
        text.remove_prefix(1);
        return kReplacement;
    }
    for (int index = 1; index < length; ++index) {
        const auto next = static_cast<std::uint8_t>(text[static_cast<std::size_t>(index)]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        text.remove_prefix(1);
        return kReplacement;
    }
    text.remove_prefix(static_cast<std::size_t>(length));
    return value;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char byte : latin1) {
        AppendUtf8(utf8, static_cast<std::uint8_t>(byte));
    }
    return utf8;
}

std::u32string Utf8CodePoints(std::string_view utf8) {
    std::u32string codePoints;
    while (!utf8.empty()) {
        codePoints += TakeCodePoint(utf8);
    }
    return codePoints;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    const std::u32string codePoints = Utf8CodePoints(utf8);
    if (std::any_of(codePoints.begin(), codePoints.end(), [](char32_t c) { return c > 0xFF; })) {
        return std::nullopt;
    }
    return std::string(codePoints.begin(), codePoints.end());
}

int FieldLength(std::string_view utf8) {
    int length = 0;
    for (const char32_t c : Utf8CodePoints(utf8)) {
        length += c >= 0x10000 ? 2 : 1;
    }
    return length;
}

}  // namespace kestrelink
