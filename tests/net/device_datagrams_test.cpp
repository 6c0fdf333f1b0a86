#include "net/device_datagrams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrelink {
namespace {

AnnouncementFields SampleFields() {
    AnnouncementFields fields;
    fields.serialNumber = 4000000000u;
    fields.ipAddress = 0xC0A8010A;
    fields.ipAddressText = "192.168.1.10";
    fields.macAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    fields.productName = "Gateway Pro";
    fields.givenName = "Roof";
    fields.version = "4.0.1";
    return fields;
}

TEST(EncodeAnnouncementTest, Bits08DecodesBackToItsFields) {
    const auto datagram = EncodeAnnouncement(DeviceFamily::Bits08, SampleFields());
    ASSERT_EQ(datagram.size(), ANNOUNCEMENT08_LENGTH);
    const auto decoded = DecodeAnnouncement08(datagram);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->serialNumber, 4000000000u);
    EXPECT_EQ(decoded->ipAddress, (std::array<std::uint8_t, 4>{192, 168, 1, 10}));
    EXPECT_EQ(decoded->macAddress, SampleFields().macAddress);
    EXPECT_EQ(decoded->productName, "Gateway Pro");
    EXPECT_EQ(decoded->givenName, "Roof");
    EXPECT_EQ(decoded->version, "4.0.1");
}

TEST(EncodeAnnouncementTest, Bits32DecodesBackToItsFields) {
    const auto datagram = EncodeAnnouncement(DeviceFamily::Bits32, SampleFields());
    ASSERT_EQ(datagram.size(), ANNOUNCEMENT32_LENGTH);
    const auto decoded = DecodeAnnouncement32(datagram);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->serialNumber, 4000000000u);
    EXPECT_EQ(decoded->ipAddressText, "192.168.1.10");
    EXPECT_EQ(decoded->macAddress, SampleFields().macAddress);
    EXPECT_EQ(decoded->productName, "Gateway Pro");
    EXPECT_EQ(decoded->givenName, "Roof");
    EXPECT_EQ(decoded->version, "4.0.1");
}

TEST(EncodeAnnouncementTest, TextsAsLongAsTheirFieldsGoOutWithoutNul) {
    AnnouncementFields fields = SampleFields();
    fields.productName = std::string(40, 'P');
    fields.ipAddressText = std::string(128, '1');
    const auto datagram = EncodeAnnouncement(DeviceFamily::Bits32, fields);
    const auto decoded = DecodeAnnouncement32(datagram);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->productName, std::string(32, 'P'));
    EXPECT_EQ(decoded->ipAddressText, std::string(128, '1'));
    EXPECT_EQ(decoded->givenName, "Roof");
    EXPECT_EQ(decoded->macAddress, SampleFields().macAddress);
}

struct RequestCase {
    const char* name;
    DeviceFamily family;
    bool useDhcp;
};

class DecodeConfigRequestTest : public ::testing::TestWithParam<RequestCase> {};

// What the program builds, a device reads back.
TEST_P(DecodeConfigRequestTest, ReadsWhatWasBuilt) {
    const auto& c = GetParam();
    IpSettings settings;
    settings.ipAddress = 0xC0A80132;
    settings.subnetMask = 0xFFFFFF00;
    settings.gateway = 0xC0A80101;
    settings.dnsServer = 0xC0A80102;
    settings.useDhcp = c.useDhcp;
    settings.password = "secret";
    settings.hostName = "Unit";
    const bool bits32 = c.family == DeviceFamily::Bits32;
    std::vector<std::uint8_t> datagram;
    if (bits32) {
        const auto request = BuildConfigRequest32(settings, "00:1a:2b:3c:4d:5e", {127, 0, 0, 1});
        datagram.assign(request.begin(), request.end());
    } else {
        const auto request = BuildConfigRequest08(settings, "00:1a:2b:3c:4d:5e");
        datagram.assign(request.begin(), request.end());
    }

    const auto config = DecodeConfigRequest(c.family, datagram);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->macAddress, (MacAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(config->useDhcp, c.useDhcp);
    EXPECT_EQ(config->ipAddress, c.useDhcp ? 0u : 0xC0A80132u);
    EXPECT_EQ(config->subnetMask, c.useDhcp ? 0u : 0xFFFFFF00u);
    EXPECT_EQ(config->gateway, c.useDhcp ? 0u : 0xC0A80101u);
    EXPECT_EQ(config->dnsServer, bits32 && !c.useDhcp ? 0xC0A80102u : 0u);
    EXPECT_EQ(config->hostName, bits32 ? "Unit" : "");
    EXPECT_EQ(config->password, "secret");

    // The other family's length, or a broken magic, is no request.
    const DeviceFamily other = bits32 ? DeviceFamily::Bits08 : DeviceFamily::Bits32;
    EXPECT_FALSE(DecodeConfigRequest(other, datagram));
    datagram[0] ^= 0xFF;
    EXPECT_FALSE(DecodeConfigRequest(c.family, datagram));
}

INSTANTIATE_TEST_SUITE_P(Requests, DecodeConfigRequestTest,
                         ::testing::Values(RequestCase{"Static08", DeviceFamily::Bits08, false},
                                           RequestCase{"Dhcp08", DeviceFamily::Bits08, true},
                                           RequestCase{"Static32", DeviceFamily::Bits32, false},
                                           RequestCase{"Dhcp32", DeviceFamily::Bits32, true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
