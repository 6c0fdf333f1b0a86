#include "tools/device_protocol/device_datagrams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/samples.h"

namespace kestrelink {
namespace {

// Texts longer than their fields go out cut to the full width, without a NUL and without
// spilling into the next field; shorter ones end at a NUL.
TEST(EncodeAnnouncementTest, DecodesBackToItsFieldsWithTextsCutToTheirWidths) {
    AnnouncementFields fields = testing::SampleAnnouncementFields();
    fields.productName = std::string(40, 'P');
    fields.version = std::string(40, 'V');
    fields.ipAddressText = std::string(140, '1');
    const struct {
        DeviceFamily family;
        std::size_t length;
        std::size_t nameWidth;
        std::size_t versionWidth;
    } families[] = {{DeviceFamily::Bits08, 70, 16, 16}, {DeviceFamily::Bits32, 232, 32, 20}};
    for (const auto& f : families) {
        SCOPED_TRACE(f.length);
        const auto datagram = EncodeAnnouncement(f.family, fields);
        ASSERT_EQ(datagram.size(), f.length);
        const auto decoded = f.family == DeviceFamily::Bits32 ? DecodeAnnouncement32(datagram)
                                                              : DecodeAnnouncement08(datagram);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->serialNumber, 4000000000u);
        if (f.family == DeviceFamily::Bits32) {
            EXPECT_EQ(decoded->ipAddressText, std::string(128, '1'));
        } else {
            EXPECT_EQ(decoded->ipAddress, (std::array<std::uint8_t, 4>{192, 168, 1, 10}));
        }
        EXPECT_EQ(decoded->macAddress, testing::kSampleMac);
        EXPECT_EQ(decoded->productName, std::string(f.nameWidth, 'P'));
        EXPECT_EQ(decoded->givenName, "Roof");
        EXPECT_EQ(decoded->version, std::string(f.versionWidth, 'V'));
    }
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
    IpSettings settings = testing::SampleSettings();
    settings.useDhcp = c.useDhcp;
    const bool bits32 = c.family == DeviceFamily::Bits32;
    const auto built32 = BuildConfigRequest32(settings, testing::kSampleMacText, {127, 0, 0, 1});
    const auto built08 = BuildConfigRequest08(settings, testing::kSampleMacText);
    std::vector<std::uint8_t> datagram = bits32 ? std::vector(built32.begin(), built32.end())
                                                : std::vector(built08.begin(), built08.end());

    const auto config = DecodeConfigRequest(c.family, datagram);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->macAddress, testing::kSampleMac);
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
