#include "tools/device_protocol/device_datagrams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/byte_fields.h"
#include "tests/support/samples.h"

namespace kestrelink {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kSampleMacBytes[] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
// 4000000000, least significant byte first.
constexpr std::uint8_t kSampleSerialBytes[] = {0x00, 0x28, 0x6B, 0xEE};

struct AnnouncementCase {
    const char* name;
    device::Family family;
    bool overlong;  // product name, version and address text longer than their fields
    Bytes expected;
};

Bytes Expected08(bool overlong) {
    Bytes d(70, 0);
    testing::PutBytes(d, 0, kSampleSerialBytes);
    testing::PutBytes(d, 4, Bytes{192, 168, 1, 10});
    testing::PutBytes(d, 16, kSampleMacBytes);
    testing::PutText(d, 22, overlong ? std::string(16, 'P') : "Gateway Pro");
    testing::PutText(d, 38, "Roof");
    testing::PutText(d, 54, overlong ? std::string(16, 'V') : "4.0.1");
    return d;
}

Bytes Expected32(bool overlong) {
    Bytes d(232, 0);
    testing::PutText(d, 8, overlong ? std::string(32, 'P') : "Gateway Pro");
    testing::PutText(d, 40, "Roof");
    testing::PutText(d, 72, overlong ? std::string(20, 'V') : "4.0.1");
    testing::PutBytes(d, 92, kSampleSerialBytes);
    testing::PutText(d, 96, overlong ? std::string(128, '1') : "192.168.1.10");
    testing::PutBytes(d, 224, kSampleMacBytes);
    return d;
}

class EncodeAnnouncementTest : public ::testing::TestWithParam<AnnouncementCase> {};

// Texts longer than their fields go out cut to the full width, without a NUL and without
// spilling into the next field.
TEST_P(EncodeAnnouncementTest, PutsEachFieldWhereTheTableSays) {
    const auto& c = GetParam();
    device::AnnouncementFields fields = testing::SampleAnnouncementFields();
    if (c.overlong) {
        fields.productName = std::string(40, 'P');
        fields.version = std::string(40, 'V');
        fields.ipAddressText = std::string(140, '1');
    }
    EXPECT_EQ(device::EncodeAnnouncement(c.family, fields), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Announcements, EncodeAnnouncementTest,
    ::testing::Values(
        AnnouncementCase{"Bits08", device::Family::Bits08, false, Expected08(false)},
        AnnouncementCase{"Bits08Overlong", device::Family::Bits08, true, Expected08(true)},
        AnnouncementCase{"Bits32", device::Family::Bits32, false, Expected32(false)},
        AnnouncementCase{"Bits32Overlong", device::Family::Bits32, true, Expected32(true)}),
    [](const auto& info) { return info.param.name; });

TEST(IsProbeTest, KnowsOnlyItsFamilysProbeByteForByte) {
    const struct {
        device::Family family;
        Bytes datagram;
        bool probe;
    } cases[] = {
        {device::Family::Bits08, {0x5A, 0x5A}, true},
        {device::Family::Bits08, {0x5A, 0x5A, 0x00, 0x00}, false},
        {device::Family::Bits08, {0x5A, 0x5B}, false},
        {device::Family::Bits32, {0x5A, 0x5A, 0x00, 0x00}, true},
        {device::Family::Bits32, {0x5A, 0x5A}, false},
        {device::Family::Bits32, {0x5A, 0x5A, 0x00, 0x01}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.datagram));
        EXPECT_EQ(device::IsProbe(c.family, c.datagram), c.probe);
    }
}

Bytes Request08(bool dhcp) {
    Bytes d(36, 0);
    testing::PutBytes(d, 0, Bytes{0xA5, 0xA5});
    if (!dhcp) {
        testing::PutBytes(d, 2, Bytes{192, 168, 1, 50});
        testing::PutBytes(d, 6, Bytes{255, 255, 255, 0});
        testing::PutBytes(d, 10, Bytes{192, 168, 1, 1});
    }
    testing::PutText(d, 14, "secret");
    testing::PutBytes(d, 30, kSampleMacBytes);
    return d;
}

Bytes Request32(bool dhcp) {
    Bytes d(196, 0);
    testing::PutBytes(d, 0, Bytes{0xA5, 0xA5, 0x00, 0x00});
    testing::PutBytes(d, 4, Bytes{dhcp ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0});
    testing::PutBytes(d, 8, Bytes{127, 0, 0, 1});
    testing::PutText(d, 12, "Unit");
    testing::PutText(d, 44, dhcp ? "0.0.0.0" : "192.168.1.50");
    testing::PutText(d, 76, dhcp ? "0.0.0.0" : "255.255.255.0");
    testing::PutText(d, 108, dhcp ? "0.0.0.0" : "192.168.1.1");
    testing::PutText(d, 140, dhcp ? "0.0.0.0" : "192.168.1.2");
    testing::PutText(d, 172, "secret");
    testing::PutBytes(d, 188, kSampleMacBytes);
    return d;
}

struct RequestCase {
    const char* name;
    device::Family family;
    bool useDhcp;
    Bytes datagram;
};

class DecodeConfigRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(DecodeConfigRequestTest, ReadsEachFieldWhereTheTableSays) {
    const auto& c = GetParam();
    const bool bits32 = c.family == device::Family::Bits32;
    const auto config = device::DecodeConfigRequest(c.family, c.datagram);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->macAddress, testing::kSampleMac);
    EXPECT_EQ(config->useDhcp, c.useDhcp);
    EXPECT_EQ(config->ipAddress, c.useDhcp ? 0u : 0xC0A80132u);
    EXPECT_EQ(config->subnetMask, c.useDhcp ? 0u : 0xFFFFFF00u);
    EXPECT_EQ(config->gateway, c.useDhcp ? 0u : 0xC0A80101u);
    EXPECT_EQ(config->dnsServer, bits32 && !c.useDhcp ? 0xC0A80102u : 0u);
    EXPECT_EQ(config->hostName, bits32 ? "Unit" : "");
    EXPECT_EQ(config->password, "secret");
    EXPECT_EQ(config->localhostAddress, bits32 ? 0x7F000001u : 0u);

    // The other family's length, or a broken magic, is no request.
    const auto other = bits32 ? device::Family::Bits08 : device::Family::Bits32;
    EXPECT_FALSE(device::DecodeConfigRequest(other, c.datagram));
    Bytes broken = c.datagram;
    broken[1] = 0xA4;
    EXPECT_FALSE(device::DecodeConfigRequest(c.family, broken));
}

TEST(DecodeConfigRequest32Test, RefusesADhcpFlagOtherThanZeroOrOne) {
    Bytes d = Request32(true);
    testing::PutBytes(d, 4, Bytes{0x00, 0x01, 0x00, 0x00});
    EXPECT_FALSE(device::DecodeConfigRequest(device::Family::Bits32, d));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, DecodeConfigRequestTest,
    ::testing::Values(RequestCase{"Static08", device::Family::Bits08, false, Request08(false)},
                      RequestCase{"Dhcp08", device::Family::Bits08, true, Request08(true)},
                      RequestCase{"Static32", device::Family::Bits32, false, Request32(false)},
                      RequestCase{"Dhcp32", device::Family::Bits32, true, Request32(true)}),
    [](const auto& info) { return info.param.name; });

// A 32bits device reads a dotted text that does not convert as 0.0.0.0.
TEST(DecodeConfigRequest32Test, ReadsAnAddressTextThatDoesNotConvertAsZero) {
    for (const char* text : {"192.168.1", "192.168.1.256", "192.168.1.50x", "a.b.c.d", ""}) {
        SCOPED_TRACE(text);
        Bytes d = Request32(false);
        std::fill(d.begin() + 44, d.begin() + 76, std::uint8_t{0});
        testing::PutText(d, 44, text);
        const auto config = device::DecodeConfigRequest(device::Family::Bits32, d);
        ASSERT_TRUE(config);
        EXPECT_EQ(config->ipAddress, 0u);
        EXPECT_EQ(config->subnetMask, 0xFFFFFF00u);
    }
}

}  // namespace
}  // namespace kestrelink
