#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrelink {

// Devices and the wire speak single-byte Latin-1; faces and the behaviour's texts speak UTF-8.

std::string Latin1ToUtf8(std::string_view latin1);
// nullopt when the text holds a character that Latin-1 cannot carry, or is not UTF-8 at all.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);
// The Unicode code points of a UTF-8 text; each byte that does not begin a well-formed sequence
// counts as one U+FFFD, so that a malformed text is never taken for Latin-1.
std::u32string Utf8CodePoints(std::string_view utf8);
// The length of a UTF-8 text in UTF-16 units, as a text field counts its characters.
int FieldLength(std::string_view utf8);

}  // namespace kestrelink
