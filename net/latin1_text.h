#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrelink {

// Devices and the wire speak single-byte Latin-1; faces, terminals and files speak UTF-8.

std::string Latin1ToUtf8(std::string_view latin1);

// What a text bound for a device makes of a control character: the window sends what its dialog
// holds; the command-line program refuses it, since the device could not store it as it reads.
enum class ControlCharacters { Send, Refuse };

// nullopt when the text is not UTF-8, holds a character that Latin-1 cannot carry, or holds a
// control character that controls refuses.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8, ControlCharacters controls);

// C0, DEL and C1.
bool IsControlCharacter(char32_t codePoint);

// The well-formed sequence at the front of a UTF-8 text: no overlong forms, no surrogates,
// nothing beyond U+10FFFF. A length of 0 when the first byte begins none.
struct Utf8Sequence {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Sequence DecodeUtf8Front(std::string_view utf8);

// The Unicode code points of a UTF-8 text; each byte that does not begin a well-formed sequence
// counts as one U+FFFD, so that a malformed text is never taken for Latin-1.
std::u32string Utf8CodePoints(std::string_view utf8);

// The length of a UTF-8 text in UTF-16 units, as a text field counts its characters.
int FieldLength(std::string_view utf8);

}  // namespace kestrelink
