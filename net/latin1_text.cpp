#include "net/latin1_text.h"

#include <cstdint>

namespace kestrelink {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

std::optional<std::string> Utf8ToLatin1(std::string_view utf8, ControlCharacters controls) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (const char32_t c : Utf8CodePoints(utf8)) {
        if (c > 0xFF || (controls == ControlCharacters::Refuse && IsControlCharacter(c))) {
            return std::nullopt;
        }
        latin1 += static_cast<char>(c);
    }
    return latin1;
}

bool IsControlCharacter(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

Utf8Sequence DecodeUtf8Front(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(utf8[i]); };
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
    if (utf8.size() < length || byte(1) < low || byte(1) > high) {
        return {};
    }
    char32_t codePoint = lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        codePoint = codePoint << 6 | (byte(i) & 0x3Fu);
    }
    return {codePoint, length};
}

std::u32string Utf8CodePoints(std::string_view utf8) {
    std::u32string codePoints;
    while (!utf8.empty()) {
        const Utf8Sequence sequence = DecodeUtf8Front(utf8);
        codePoints += sequence.length == 0 ? kReplacement : sequence.codePoint;
        utf8.remove_prefix(sequence.length == 0 ? 1 : sequence.length);
    }
    return codePoints;
}

int FieldLength(std::string_view utf8) {
    int length = 0;
    for (const char32_t c : Utf8CodePoints(utf8)) {
        length += c >= 0x10000 ? 2 : 1;
    }
    return length;
}

}  // namespace kestrelink
