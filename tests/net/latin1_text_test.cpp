#include "net/latin1_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace kestrelink;

namespace {

using namespace std::string_literals;

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u32string codePoints;
    int fieldLength;                     // in UTF-16 units
    std::optional<std::string> sent;     // controls sent, as from the window
    std::optional<std::string> refused;  // controls refused, as from the command line
};

class Latin1TextTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Latin1TextTest, ReadsUtf8) {
    const Utf8Case& text = GetParam();
    EXPECT_EQ(Utf8CodePoints(text.utf8), text.codePoints);
    EXPECT_EQ(FieldLength(text.utf8), text.fieldLength);
    EXPECT_EQ(Utf8ToLatin1(text.utf8, ControlCharacters::Send), text.sent);
    EXPECT_EQ(Utf8ToLatin1(text.utf8, ControlCharacters::Refuse), text.refused);
}

// Malformed sequences are one U+FFFD per byte that cannot begin a character, never Latin-1.
// Controls are C0, DEL and C1: the neighbours of each range pass.
INSTANTIATE_TEST_SUITE_P(
    Texts, Latin1TextTest,
    ::testing::Values(
        Utf8Case{"Ascii", "cam-01", U"cam-01", 6, "cam-01", "cam-01"},
        Utf8Case{"Latin1", "Caf\xc3\xa9 \xc3\xbf", U"Caf\u00e9 \u00ff", 6, "Caf\xe9 \xff",
                 "Caf\xe9 \xff"},
        Utf8Case{"Nul", "a\0b"s, U"a\0b"s, 3, "a\0b"s, std::nullopt},
        Utf8Case{"Tab", "a\tb", U"a\tb", 3, "a\tb", std::nullopt},
        Utf8Case{"LastC0", "\x1f", U"\x1f", 1, "\x1f", std::nullopt},
        Utf8Case{"SpaceAndTilde", " ~", U" ~", 2, " ~", " ~"},
        Utf8Case{"Delete", "\x7f", U"\x7f", 1, "\x7f", std::nullopt},
        Utf8Case{"FirstC1", "\xc2\x80", U"\u0080", 1, "\x80", std::nullopt},
        Utf8Case{"LastC1", "\xc2\x9f", U"\u009f", 1, "\x9f", std::nullopt},
        Utf8Case{"NoBreakSpace", "\xc2\xa0", U"\u00a0", 1, "\xa0", "\xa0"},
        Utf8Case{"Euro", "\xe2\x82\xac", U"\u20ac", 1, std::nullopt, std::nullopt},
        Utf8Case{"BeyondTheBasicPlane", "\xf0\x9f\x90\xa6", U"\U0001F426", 2, std::nullopt,
                 std::nullopt},
        Utf8Case{"Replacement", "\xef\xbf\xbd", U"\ufffd", 1, std::nullopt, std::nullopt},
        Utf8Case{"OverlongSlash", "\xc0\xaf", U"\ufffd\ufffd", 2, std::nullopt, std::nullopt},
        Utf8Case{"Surrogate", "\xed\xa0\x80", U"\ufffd\ufffd\ufffd", 3, std::nullopt, std::nullopt},
        Utf8Case{"CutShort", "a\xe2\x82", U"a\ufffd\ufffd", 3, std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Latin1TextTest, EveryLatin1ByteRoundTripsWhenControlsAreSent) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        every += static_cast<char>(byte);
    }
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(every), ControlCharacters::Send), every);
    EXPECT_EQ(Latin1ToUtf8("caf\xe9 \xa0\xff"), "caf\xc3\xa9 \xc2\xa0\xc3\xbf");
}

// A real U+FFFD is a sequence of three bytes; a byte that begins none has no length.
TEST(Latin1TextTest, TellsAMalformedByteFromAReplacementCharacter) {
    EXPECT_EQ(DecodeUtf8Front("\xef\xbf\xbdx").codePoint, U'\ufffd');
    EXPECT_EQ(DecodeUtf8Front("\xef\xbf\xbdx").length, 3u);
    EXPECT_EQ(DecodeUtf8Front("\xbfx").length, 0u);
    EXPECT_EQ(DecodeUtf8Front("").length, 0u);
}

}  // namespace
