#include "net/text_forms.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrelink {
namespace {

TEST(FormatDottedQuadTest, FirstOctetIsTheMostSignificantByte) {
    EXPECT_EQ(FormatDottedQuad(0xC0A8010A).View(), "192.168.1.10");
    EXPECT_EQ(FormatDottedQuad(0).View(), "0.0.0.0");
    EXPECT_EQ(FormatDottedQuad(0xFFFFFFFF).View(), "255.255.255.255");
    EXPECT_EQ(FormatDottedQuad(0x0A000009).View(), "10.0.0.9");
}

TEST(FormatAddressBytesTest, WireOrderWithoutLeadingZeros) {
    EXPECT_EQ(FormatAddressBytes({0xC0, 0xA8, 0x01, 0x0A}).View(), "192.168.1.10");
    EXPECT_EQ(FormatAddressBytes({0, 0, 0, 0}).View(), "0.0.0.0");
    EXPECT_EQ(FormatAddressBytes({255, 255, 255, 255}).View(), "255.255.255.255");
}

TEST(FormatMacTextTest, LowerCaseTwoDigitsPerByte) {
    EXPECT_EQ(FormatMacText({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}).View(), "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(FormatMacText({0xAB, 0xCD, 0xEF, 0x01, 0x02, 0xFF}).View(), "ab:cd:ef:01:02:ff");
    EXPECT_EQ(FormatMacText({}).View(), "00:00:00:00:00:00");
}

TEST(FormatSerialTextTest, UnsignedDecimal) {
    EXPECT_EQ(FormatSerialText(0).View(), "0");
    EXPECT_EQ(FormatSerialText(300).View(), "300");
    EXPECT_EQ(FormatSerialText(2147483648u).View(), "2147483648");
    EXPECT_EQ(FormatSerialText(4294967295u).View(), "4294967295");
}

struct ParseCase {
    const char* name;
    std::string text;
    std::optional<MacAddress> mac;
};

class ParseMacTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMacTextTest, AllSixGroupsOrNothing) {
    EXPECT_EQ(ParseMacText(GetParam().text), GetParam().mac);
}

constexpr MacAddress kMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseMacTextTest,
    ::testing::Values(ParseCase{"LowerCase", "00:1a:2b:3c:4d:5e", kMac},
                      ParseCase{"UpperCase", "00:1A:2B:3C:4D:5E", kMac},
                      ParseCase{"OneDigitGroups", "0:1a:2b:3c:4d:5e", kMac},
                      ParseCase{"AllSingleDigits", "a:b:c:d:e:f",
                                MacAddress{0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}},
                      ParseCase{"TrailingTextIgnored", "00:1a:2b:3c:4d:5e and more", kMac},
                      ParseCase{"ThirdDigitAfterLastGroupIgnored", "00:1a:2b:3c:4d:5e7", kMac},
                      ParseCase{"TrailingColonIgnored", "00:1a:2b:3c:4d:5e:", kMac},
                      ParseCase{"FiveGroups", "00:1a:2b:3c:4d", std::nullopt},
                      ParseCase{"FiveGroupsAndColon", "00:1a:2b:3c:4d:", std::nullopt},
                      ParseCase{"EmptyGroup", "00::2b:3c:4d:5e", std::nullopt},
                      ParseCase{"EmptyFirstGroup", ":1a:2b:3c:4d:5e", std::nullopt},
                      ParseCase{"Empty", "", std::nullopt},
                      ParseCase{"ThreeDigitGroup", "001:1a:2b:3c:4d:5e", std::nullopt},
                      ParseCase{"OtherSeparator", "00-1a-2b-3c-4d-5e", std::nullopt},
                      ParseCase{"NotHex", "00:1a:2b:3c:4d:zz", std::nullopt}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
