#include "net/text_forms.h"

#include "net/system_sockets.h"

#include <cctype>
#include <cstdio>
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

ShortText FormatAddressBytes(const std::array<std::uint8_t, 4>& bytes) {
    char text[ShortText::kCapacity + 1];
    const int length = std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned{bytes[0]},
                                     unsigned{bytes[1]}, unsigned{bytes[2]}, unsigned{bytes[3]});
    return ShortText({text, static_cast<std::size_t>(length)});
}

ShortText FormatMacText(const MacAddress& mac) {
    char text[ShortText::kCapacity + 1];
    const int length = std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x",
                                     unsigned{mac[0]}, unsigned{mac[1]}, unsigned{mac[2]},
                                     unsigned{mac[3]}, unsigned{mac[4]}, unsigned{mac[5]});
    return ShortText({text, static_cast<std::size_t>(length)});
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
    char text[ShortText::kCapacity + 1];
    const int length =
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(serialNumber));
    return ShortText({text, static_cast<std::size_t>(length)});
}

}  // namespace kestrelink
