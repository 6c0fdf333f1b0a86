#include "cli/terminal_text.h"

#include <cstdint>

#include "net/latin1_text.h"

namespace kestrelink::cli {
namespace {

void AppendEscaped(std::string& text, std::uint32_t value) {
    constexpr char kDigits[] = "0123456789abcdef";
    text += "\\x";
    text += kDigits[(value >> 4) & 0xF];
    text += kDigits[value & 0xF];
}

}  // namespace

std::string TerminalText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    while (!utf8.empty()) {
        const Utf8Sequence sequence = DecodeUtf8Front(utf8);
        if (sequence.length == 0) {
            AppendEscaped(text, static_cast<std::uint8_t>(utf8.front()));
            utf8.remove_prefix(1);
            continue;
        }
        if (IsControlCharacter(sequence.codePoint)) {
            AppendEscaped(text, sequence.codePoint);
        } else {
            text += utf8.substr(0, sequence.length);
        }
        utf8.remove_prefix(sequence.length);
    }
    return text;
}

}  // namespace kestrelink::cli
