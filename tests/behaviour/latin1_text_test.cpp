#include "behaviour/latin1_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace kestrelink;

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u32string codePoints;
    int fieldLength;  // in UTF-16 units
    std::optional<std::string> latin1;
};

class Latin1TextTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Latin1TextTest, ReadsUtf8) {
    const Utf8Case& text = GetParam();
    EXPECT_EQ(Utf8CodePoints(text.utf8), text.codePoints);
    EXPECT_EQ(FieldLength(text.utf8), text.fieldLength);
    EXPECT_EQ(Utf8ToLatin1(text.utf8), text.latin1);
}

// Malformed sequences are one U+FFFD per byte that cannot begin a character, never Latin-1.
INSTANTIATE_TEST_SUITE_P(
    Texts, Latin1TextTest,
    ::testing::Values(
        Utf8Case{"Ascii", "cam-01", U"cam-01", 6, "cam-01"},
        Utf8Case{"Latin1", "Caf\xc3\xa9 \xc3\xbf", U"Caf\u00e9 \u00ff", 6, "Caf\xe9 \xff"},
        Utf8Case{"Euro", "\xe2\x82\xac", U"\u20ac", 1, std::nullopt},
        Utf8Case{"BeyondTheBasicPlane", "\xf0\x9f\x90\xa6", U"\U0001F426", 2, std::nullopt},
        Utf8Case{"OverlongSlash", "\xc0\xaf", U"\ufffd\ufffd", 2, std::nullopt},
        Utf8Case{"Surrogate", "\xed\xa0\x80", U"\ufffd\ufffd\ufffd", 3, std::nullopt},
        Utf8Case{"CutShort", "a\xe2\x82", U"a\ufffd\ufffd", 3, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Latin1TextTest, EveryLatin1ByteRoundTrips) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        every += static_cast<char>(byte);
    }
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(every)), every);
    EXPECT_EQ(Latin1ToUtf8("\xe9"), "\xc3\xa9");
}

}  // namespace
