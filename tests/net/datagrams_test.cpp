#include "net/datagrams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/byte_fields.h"

namespace kestrelink {
namespace {

using testing::PutBytes;
using testing::PutText;
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& array) {
    return {array.begin(), array.end()};
}

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t length) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + length)};
}

IpSettings StaticSettings() {
    IpSettings settings;
    settings.ipAddress = 0xC0A80132;   // 192.168.1.50
    settings.subnetMask = 0xFFFFFF00;  // 255.255.255.0
    settings.gateway = 0xC0A80101;     // 192.168.1.1
    settings.dnsServer = 0xC0A80102;   // 192.168.1.2
    settings.password = "secret";
    settings.hostName = "Unit";
    return settings;
}

IpSettings DhcpSettings() {
    IpSettings settings = StaticSettings();  // the address fields keep what the dialog held
    settings.useDhcp = true;
    return settings;
}

constexpr std::string_view kMacText = "00:1a:2b:3c:4d:5e";
constexpr std::array<std::uint8_t, 4> kLocalhost{0x7F, 0x00, 0x00, 0x01};

TEST(ProbeTest, Probe08IsExactlyTheMagicBytes) {
    EXPECT_EQ(ToBytes(BuildProbe08()), (Bytes{0x5A, 0x5A}));
}

TEST(ProbeTest, Probe32IsTheMagicWidenedLittleEndian) {
    EXPECT_EQ(ToBytes(BuildProbe32()), (Bytes{0x5A, 0x5A, 0x00, 0x00}));
}

TEST(ConfigRequest08Test, StaticSettingsByteExact) {
    const Bytes expected{
        0xA5, 0xA5,                                                        // magic
        0xC0, 0xA8, 0x01, 0x32,                                            // 192.168.1.50
        0xFF, 0xFF, 0xFF, 0x00,                                            // 255.255.255.0
        0xC0, 0xA8, 0x01, 0x01,                                            // 192.168.1.1
        's',  'e',  'c',  'r',  'e',  't',  0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // password
        0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E,                                // target MAC
    };
    EXPECT_EQ(ToBytes(BuildConfigRequest08(StaticSettings(), kMacText)), expected);
}

TEST(ConfigRequest08Test, DhcpZeroesTheThreeAddressesOnly) {
    Bytes expected = ToBytes(BuildConfigRequest08(StaticSettings(), kMacText));
    std::fill(expected.begin() + 2, expected.begin() + 14, 0);
    EXPECT_EQ(ToBytes(BuildConfigRequest08(DhcpSettings(), kMacText)), expected);
}

Bytes ExpectedRequest32(bool dhcp) {
    Bytes expected(CONFIG_REQUEST32_LENGTH, 0);
    expected[0] = 0xA5;
    expected[1] = 0xA5;
    expected[4] = dhcp ? 1 : 0;
    PutBytes(expected, 8, kLocalhost);
    PutText(expected, 12, "Unit");
    PutText(expected, 44, dhcp ? "0.0.0.0" : "192.168.1.50");
    PutText(expected, 76, dhcp ? "0.0.0.0" : "255.255.255.0");
    PutText(expected, 108, dhcp ? "0.0.0.0" : "192.168.1.1");
    PutText(expected, 140, dhcp ? "0.0.0.0" : "192.168.1.2");
    PutText(expected, 172, "secret");
    const Bytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    PutBytes(expected, 188, mac);
    return expected;
}

TEST(ConfigRequest32Test, StaticSettingsByteExact) {
    EXPECT_EQ(ToBytes(BuildConfigRequest32(StaticSettings(), kMacText, kLocalhost)),
              ExpectedRequest32(false));
}

TEST(ConfigRequest32Test, DhcpSetsTheFlagAndZeroesEveryAddressTextDnsIncluded) {
    EXPECT_EQ(ToBytes(BuildConfigRequest32(DhcpSettings(), kMacText, kLocalhost)),
              ExpectedRequest32(true));
}

TEST(ConfigRequest32Test, NoLocalhostAddressLeavesItsFieldZero) {
    const auto request = ToBytes(BuildConfigRequest32(StaticSettings(), kMacText, {}));
    EXPECT_EQ(Slice(request, 8, 4), Bytes(4, 0));
}

TEST(ConfigRequest32Test, HostNameKeepsItsLastByteNul) {
    IpSettings settings = StaticSettings();
    const std::string longest(HOST_NAME_MAX_LENGTH, 'h');
    for (const std::string& hostName : {longest, longest + "overflow"}) {
        settings.hostName = hostName;
        const auto request = ToBytes(BuildConfigRequest32(settings, kMacText, kLocalhost));
        Bytes field(32, 0);
        PutText(field, 0, longest);
        EXPECT_EQ(Slice(request, 12, 32), field) << hostName;
    }
}

struct PasswordCase {
    const char* name;
    std::string password;
    std::string onWire;  // what the 16-byte field holds before its NUL padding
};

class PasswordTest : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordTest, FieldOfBothRequests) {
    IpSettings settings = StaticSettings();
    settings.password = GetParam().password;
    Bytes field(16, 0);
    PutText(field, 0, GetParam().onWire);
    const auto request08 = ToBytes(BuildConfigRequest08(settings, kMacText));
    const auto request32 = ToBytes(BuildConfigRequest32(settings, kMacText, kLocalhost));
    EXPECT_EQ(Slice(request08, 14, 16), field);
    EXPECT_EQ(Slice(request32, 172, 16), field);
    // The neighbouring MAC field is not touched by a long password.
    EXPECT_EQ(Slice(request08, 30, 6), (Bytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(Slice(request32, 188, 6), (Bytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
}

INSTANTIATE_TEST_SUITE_P(Passwords, PasswordTest,
                         ::testing::Values(PasswordCase{"Empty", "", ""},
                                           PasswordCase{"FifteenCharacters", "ABCDEFGHIJKLMNO",
                                                        "ABCDEFGHIJKLMNO"},
                                           PasswordCase{"SixteenCharactersCutToFifteen",
                                                        "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNO"}),
                         [](const auto& info) { return info.param.name; });

struct TargetMacCase {
    const char* name;
    std::string_view macText;
    Bytes field;
};

class TargetMacTest : public ::testing::TestWithParam<TargetMacCase> {};

TEST_P(TargetMacTest, FieldOfBothRequests) {
    const auto request08 = ToBytes(BuildConfigRequest08(StaticSettings(), GetParam().macText));
    const auto request32 =
        ToBytes(BuildConfigRequest32(StaticSettings(), GetParam().macText, kLocalhost));
    EXPECT_EQ(Slice(request08, 30, 6), GetParam().field);
    EXPECT_EQ(Slice(request32, 188, 6), GetParam().field);
    EXPECT_EQ(Slice(request32, 194, 2), Bytes(2, 0));
}

const Bytes kTargetMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

INSTANTIATE_TEST_SUITE_P(
    MacTexts, TargetMacTest,
    ::testing::Values(TargetMacCase{"LowerCase", "00:1a:2b:3c:4d:5e", kTargetMac},
                      TargetMacCase{"UpperCase", "00:1A:2B:3C:4D:5E", kTargetMac},
                      TargetMacCase{"FiveGroupsLeaveZero", "00:1a:2b:3c:4d", Bytes(6, 0)},
                      TargetMacCase{"EmptyLeavesZero", "", Bytes(6, 0)},
                      TargetMacCase{"EmptyGroupLeavesZero", "00::2b:3c:4d:5e", Bytes(6, 0)}),
    [](const auto& info) { return info.param.name; });

TEST(DecodeAnnouncement08Test, ReadsEveryField) {
    Bytes datagram(ANNOUNCEMENT08_LENGTH, 0);
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
    EXPECT_EQ(decoded->macAddress, (MacAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(decoded->productName, "Sensor");
    EXPECT_EQ(decoded->givenName, "Hall");
    EXPECT_EQ(decoded->version, "1.2.3");
}

TEST(DecodeAnnouncement32Test, ReadsEveryField) {
    Bytes datagram(ANNOUNCEMENT32_LENGTH, 0);
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
    for (const std::size_t length : {0, 2, 44, 69, 71, 204, 231, 232, 233, 300}) {
        const Bytes datagram(length, 0x41);
        EXPECT_FALSE(DecodeAnnouncement08(datagram).has_value()) << length;
    }
    for (const std::size_t length : {0, 4, 44, 70, 71, 204, 231, 233, 300}) {
        const Bytes datagram(length, 0x41);
        EXPECT_FALSE(DecodeAnnouncement32(datagram).has_value()) << length;
    }
}

// Devices may fill a text field to its full width without a NUL. Every field then ends exactly
// at its own end, neither spilling into the next field nor stopping short.
struct FullFieldCase {
    const char* name;
    DeviceFamily family;
    std::size_t offset;
    std::size_t width;
    std::function<std::string_view(const Announcement&)> text;
};

class FullWidthTextTest : public ::testing::TestWithParam<FullFieldCase> {};

TEST_P(FullWidthTextTest, EndsAtItsFieldEnd) {
    const auto& field = GetParam();
    const bool bits32 = field.family == DeviceFamily::Bits32;
    Bytes datagram(bits32 ? ANNOUNCEMENT32_LENGTH : ANNOUNCEMENT08_LENGTH);
    // No byte is NUL, and neighbouring positions differ, so a text that spills or stops short
    // cannot compare equal.
    for (std::size_t i = 0; i < datagram.size(); ++i) {
        datagram[i] = static_cast<std::uint8_t>('!' + i % 90);
    }
    const auto decoded = bits32 ? DecodeAnnouncement32(datagram) : DecodeAnnouncement08(datagram);
    ASSERT_TRUE(decoded);
    const std::string_view text = field.text(*decoded);
    EXPECT_EQ(static_cast<const void*>(text.data()),
              static_cast<const void*>(datagram.data() + field.offset));
    EXPECT_EQ(text.size(), field.width);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FullWidthTextTest,
    ::testing::Values(FullFieldCase{"Product08", DeviceFamily::Bits08, 22, 16,
                                    [](const Announcement& a) { return a.productName; }},
                      FullFieldCase{"Given08", DeviceFamily::Bits08, 38, 16,
                                    [](const Announcement& a) { return a.givenName; }},
                      FullFieldCase{"Version08", DeviceFamily::Bits08, 54, 16,
                                    [](const Announcement& a) { return a.version; }},
                      FullFieldCase{"Product32", DeviceFamily::Bits32, 8, 32,
                                    [](const Announcement& a) { return a.productName; }},
                      FullFieldCase{"Given32", DeviceFamily::Bits32, 40, 32,
                                    [](const Announcement& a) { return a.givenName; }},
                      FullFieldCase{"Version32", DeviceFamily::Bits32, 72, 20,
                                    [](const Announcement& a) { return a.version; }},
                      // Ends at offset 224 and never takes in the MAC bytes that follow.
                      FullFieldCase{"IpAddressText32", DeviceFamily::Bits32, 96, 128,
                                    [](const Announcement& a) { return a.ipAddressText; }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
