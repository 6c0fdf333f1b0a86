#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "net/short_text.h"

namespace kestrelink {

using MacAddress = std::array<std::uint8_t, 6>;

// value holds the first octet in its most significant byte; the bytes come first octet first.
std::array<std::uint8_t, 4> AddressToBytes(std::uint32_t value);
// value holds the first octet in its most significant byte.
ShortText FormatDottedQuad(std::uint32_t value);
// Only the four-part decimal form, without leading zeros (which browsers read as octal);
// nullopt for anything else. The value holds the first octet in its most significant byte.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);
// Four address bytes in wire order, first octet first.
ShortText FormatAddressBytes(const std::array<std::uint8_t, 4>& bytes);
// Lower-case, two digits per byte, colons between: 17 characters.
ShortText FormatMacText(const MacAddress& mac);
// Six colon-separated groups of one or two hex digits, either case; text after the sixth group is
// ignored. All six groups or nothing.
std::optional<MacAddress> ParseMacText(std::string_view text);
// Only the full form that FormatMacText writes, in either case: a MAC typed with a digit missing
// or with extra text is more likely a typo than a device.
std::optional<MacAddress> ParseCanonicalMacText(std::string_view text);
// The 48-bit number with the first byte most significant.
std::uint64_t MacToNumber(const MacAddress& mac);
ShortText FormatSerialText(std::uint32_t serialNumber);

}  // namespace kestrelink
