#include "net/text_forms.h"

#include "net/system_sockets.h"

#include <cctype>
#include <charconv>
#include <string>

namespace kestrelink {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::array<std::uint8_t, 4> AddressToBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

ShortText FormatDottedQuad(std::uint32_t value) {
    return FormatAddressBytes(AddressToBytes(value));
}

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string terminated(text);
    in_addr address{};
    if (::inet_pton(AF_INET, terminated.c_str(), &address) != 1) {
        return std::nullopt;
    }
    return ntohl(address.s_addr);
}

// Formed for every answer of a burst on the listener's thread, where parsing a printf format
// costs more than the rest of forming a row.
ShortText FormatAddressBytes(const std::array<std::uint8_t, 4>& bytes) {
    char text[ShortText::kCapacity];
    char* end = text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            *end++ = '.';
        }
        end = std::to_chars(end, text + sizeof text, bytes[i]).ptr;
    }
    return ShortText({text, static_cast<std::size_t>(end - text)});
}

ShortText FormatMacText(const MacAddress& mac) {
    constexpr char kDigits[] = "0123456789abcdef";
    char text[17];
    for (std::size_t i = 0; i < mac.size(); ++i) {
        text[3 * i] = kDigits[mac[i] >> 4];
        text[3 * i + 1] = kDigits[mac[i] & 0x0f];
        if (i + 1 < mac.size()) {
            text[3 * i + 2] = ':';
        }
    }
    return ShortText({text, sizeof text});
}

std::optional<MacAddress> ParseMacText(std::string_view text) {
    MacAddress mac{};
    std::size_t pos = 0;
    for (std::size_t group = 0; group < mac.size(); ++group) {
        if (group > 0) {
            if (pos >= text.size() || text[pos] != ':') {
                return std::nullopt;
            }
            ++pos;
        }
        int value = 0;
        std::size_t digits = 0;
        while (digits < 2 && pos < text.size() && HexDigitValue(text[pos]) >= 0) {
            value = value * 16 + HexDigitValue(text[pos]);
            ++pos;
            ++digits;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        mac[group] = static_cast<std::uint8_t>(value);
    }
    return mac;
}

std::optional<MacAddress> ParseCanonicalMacText(std::string_view text) {
    const auto mac = ParseMacText(text);
    if (!mac || text.size() != 17) {
        return std::nullopt;
    }
    const ShortText canonical = FormatMacText(*mac);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != canonical.View()[i]) {
            return std::nullopt;
        }
    }
    return mac;
}

std::uint64_t MacToNumber(const MacAddress& mac) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : mac) {
        value = value << 8 | byte;
    }
    return value;
}

ShortText FormatSerialText(std::uint32_t serialNumber) {
    char text[ShortText::kCapacity];
    const char* end = std::to_chars(text, text + sizeof text, serialNumber).ptr;
    return ShortText({text, static_cast<std::size_t>(end - text)});
}

}  // namespace kestrelink
