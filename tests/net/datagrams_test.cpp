#include "net/datagrams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/byte_fields.h"
#include "tests/support/samples.h"

namespace kestrelink {
namespace {

using testing::PutBytes;
using testing::PutText;
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& array) {
    return {array.begin(), array.end()};
}

TEST(ProbeTest, MagicBytesOfEachFamily) {
    EXPECT_EQ(ToBytes(BuildProbe08()), (Bytes{0x5A, 0x5A}));
    EXPECT_EQ(ToBytes(BuildProbe32()), (Bytes{0x5A, 0x5A, 0x00, 0x00}));
}

// The dialog's settings (testing::SampleSettings with the changes of a row) and the target's MAC
// cell, and what the fields of both requests must then hold.
struct RequestCase {
    const char* name;
    bool useDhcp = false;
    std::string password = "secret";
    std::string hostName = "Unit";
    std::string_view macText = testing::kSampleMacText;
    std::string passwordOnWire = "secret";
    std::string hostNameOnWire = "Unit";
    Bytes macOnWire{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
};

constexpr std::array<std::uint8_t, 4> kLocalhost{0x7F, 0x00, 0x00, 0x01};

// Laid out here from the field offsets, independently of the builders.
Bytes ExpectedRequest08(const RequestCase& c) {
    Bytes expected(36, 0);
    expected[0] = 0xA5;
    expected[1] = 0xA5;
    if (!c.useDhcp) {
        const Bytes addresses{0xC0, 0xA8, 0x01, 0x32, 0xFF, 0xFF,
                              0xFF, 0x00, 0xC0, 0xA8, 0x01, 0x01};
        PutBytes(expected, 2, addresses);
    }
    PutText(expected, 14, c.passwordOnWire);
    PutBytes(expected, 30, c.macOnWire);
    return expected;
}

Bytes ExpectedRequest32(const RequestCase& c) {
    Bytes expected(196, 0);
    expected[0] = 0xA5;
    expected[1] = 0xA5;
    expected[4] = c.useDhcp ? 1 : 0;
    PutBytes(expected, 8, kLocalhost);
    PutText(expected, 12, c.hostNameOnWire);
    // DHCP zeroes every address text, the DNS server's included.
    PutText(expected, 44, c.useDhcp ? "0.0.0.0" : "192.168.1.50");
    PutText(expected, 76, c.useDhcp ? "0.0.0.0" : "255.255.255.0");
    PutText(expected, 108, c.useDhcp ? "0.0.0.0" : "192.168.1.1");
    PutText(expected, 140, c.useDhcp ? "0.0.0.0" : "192.168.1.2");
    PutText(expected, 172, c.passwordOnWire);
    PutBytes(expected, 188, c.macOnWire);
    return expected;
}

class ConfigRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(ConfigRequestTest, BothFamiliesByteExact) {
    const RequestCase& c = GetParam();
    IpSettings settings = testing::SampleSettings();
    settings.useDhcp = c.useDhcp;  // the address fields keep what the dialog held
    settings.password = c.password;
    settings.hostName = c.hostName;
    EXPECT_EQ(ToBytes(BuildConfigRequest08(settings, c.macText)), ExpectedRequest08(c));
    EXPECT_EQ(ToBytes(BuildConfigRequest32(settings, c.macText, kLocalhost)), ExpectedRequest32(c));
}

const std::string kLongestHostName(31, 'h');

INSTANTIATE_TEST_SUITE_P(
    Requests, ConfigRequestTest,
    ::testing::Values(RequestCase{.name = "StaticSettings"},
                      RequestCase{.name = "Dhcp", .useDhcp = true},
                      RequestCase{.name = "EmptyPassword", .password = "", .passwordOnWire = ""},
                      RequestCase{.name = "FifteenCharacterPassword",
                                  .password = "ABCDEFGHIJKLMNO",
                                  .passwordOnWire = "ABCDEFGHIJKLMNO"},
                      RequestCase{.name = "SixteenCharacterPasswordCutToFifteen",
                                  .password = "ABCDEFGHIJKLMNOP",
                                  .passwordOnWire = "ABCDEFGHIJKLMNO"},
                      // The host name field keeps its last byte NUL.
                      RequestCase{.name = "LongestHostName",
                                  .hostName = kLongestHostName,
                                  .hostNameOnWire = kLongestHostName},
                      RequestCase{.name = "LongerHostNameCut",
                                  .hostName = kLongestHostName + "overflow",
                                  .hostNameOnWire = kLongestHostName},
                      RequestCase{.name = "UnparsedMacLeavesItsFieldZero",
                                  .macText = "00:1a:2b:3c:4d",
                                  .macOnWire = Bytes(6, 0)}),
    [](const auto& info) { return info.param.name; });

TEST(DecodeAnnouncement08Test, ReadsEveryField) {
    Bytes datagram(kAnnouncement08Length, 0);
    const Bytes head{0x2C, 0x01, 0x00, 0x00, 0xC0, 0xA8, 0x01, 0x0A,
                     0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // not read
                     0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    PutBytes(datagram, 0, head);
    PutText(datagram, 22, "Sensor");
    PutText(datagram, 38, "Hall");
    PutText(datagram, 54, "1.2.3");

    const auto decoded = DecodeAnnouncement08(datagram);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->family, DeviceFamily::Bits08);
    EXPECT_EQ(decoded->serialNumber, 300u);
    EXPECT_EQ(decoded->ipAddress, (std::array<std::uint8_t, 4>{0xC0, 0xA8, 0x01, 0x0A}));
    EXPECT_EQ(decoded->macAddress, testing::kSampleMac);
    EXPECT_EQ(decoded->productName, "Sensor");
    EXPECT_EQ(decoded->givenName, "Hall");
    EXPECT_EQ(decoded->version, "1.2.3");
}

TEST(DecodeAnnouncement32Test, ReadsEveryField) {
    Bytes datagram(kAnnouncement32Length, 0);
    std::fill_n(datagram.begin(), 8, 0xEE);  // not read
    PutText(datagram, 8, "Gateway Pro");
    PutText(datagram, 40, "Roof");
    PutText(datagram, 72, "4.0.1");
    const Bytes serial{0xFF, 0xFF, 0xFF, 0xFF};
    PutBytes(datagram, 92, serial);
    PutText(datagram, 96, "10.1.2.3");
    // Bytes of the text field after its NUL are not part of the text.
    PutText(datagram, 120, "junk");
    const Bytes mac{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    PutBytes(datagram, 224, mac);
    datagram[230] = 0xEE;
    datagram[231] = 0xEE;

    const auto decoded = DecodeAnnouncement32(datagram);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->family, DeviceFamily::Bits32);
    EXPECT_EQ(decoded->productName, "Gateway Pro");
    EXPECT_EQ(decoded->givenName, "Roof");
    EXPECT_EQ(decoded->version, "4.0.1");
    EXPECT_EQ(decoded->serialNumber, 4294967295u);
    EXPECT_EQ(decoded->ipAddressText, "10.1.2.3");
    EXPECT_EQ(decoded->macAddress, (MacAddress{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
}

TEST(DecodeAnnouncementTest, RefusesEveryOtherLength) {
    for (const std::size_t length : {0, 2, 44, 69, 71, 232}) {
        EXPECT_FALSE(DecodeAnnouncement08(Bytes(length, 0x41))) << length;
    }
    for (const std::size_t length : {0, 4, 70, 204, 231, 233}) {
        EXPECT_FALSE(DecodeAnnouncement32(Bytes(length, 0x41))) << length;
    }
}

// Devices may fill a text field to its full width without a NUL. Every field then ends exactly
// at its own end, neither spilling into the next field nor stopping short.
struct FullFieldCase {
    const char* name;
    DeviceFamily family;
    std::size_t offset;
    std::size_t width;
    std::string_view Announcement::*text;
};

class FullWidthTextTest : public ::testing::TestWithParam<FullFieldCase> {};

TEST_P(FullWidthTextTest, EndsAtItsFieldEnd) {
    const auto& field = GetParam();
    const bool bits32 = field.family == DeviceFamily::Bits32;
    Bytes datagram(bits32 ? kAnnouncement32Length : kAnnouncement08Length);
    // No byte is NUL, and neighbouring positions differ, so a text that spills or stops short
    // cannot compare equal.
    for (std::size_t i = 0; i < datagram.size(); ++i) {
        datagram[i] = static_cast<std::uint8_t>('!' + i % 90);
    }
    const auto decoded = bits32 ? DecodeAnnouncement32(datagram) : DecodeAnnouncement08(datagram);
    ASSERT_TRUE(decoded);
    const std::string_view text = (*decoded).*field.text;
    EXPECT_EQ(static_cast<const void*>(text.data()),
              static_cast<const void*>(datagram.data() + field.offset));
    EXPECT_EQ(text.size(), field.width);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FullWidthTextTest,
    ::testing::Values(
        FullFieldCase{"Product08", DeviceFamily::Bits08, 22, 16, &Announcement::productName},
        FullFieldCase{"Given08", DeviceFamily::Bits08, 38, 16, &Announcement::givenName},
        FullFieldCase{"Version08", DeviceFamily::Bits08, 54, 16, &Announcement::version},
        FullFieldCase{"Product32", DeviceFamily::Bits32, 8, 32, &Announcement::productName},
        FullFieldCase{"Given32", DeviceFamily::Bits32, 40, 32, &Announcement::givenName},
        FullFieldCase{"Version32", DeviceFamily::Bits32, 72, 20, &Announcement::version},
        // Ends at offset 224 and never takes in the MAC bytes that follow.
        FullFieldCase{"IpAddressText32", DeviceFamily::Bits32, 96, 128,
                      &Announcement::ipAddressText}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
