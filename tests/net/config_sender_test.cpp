#include "net/config_sender.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "net/endpoint.h"
#include "net/protocol.h"
#include "tests/support/device_ports.h"
#include "tests/support/recording_hand_over.h"
#include "tests/support/samples.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using testing::kSampleMacText;
using Bytes = std::vector<std::uint8_t>;

class ConfigSenderTest : public testing::DevicePortsTest {
protected:
    void SetUp() override {
        DevicePortsTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        endpoint.emplace(std::make_shared<testing::RecordingHandOver>(),
                         [](std::string_view message) { ADD_FAILURE() << message; });
        ASSERT_TRUE(endpoint->OpenEndpoint());
        ExpectProbePair();
    }

    std::optional<Endpoint> endpoint;
    const IpSettings settings = testing::SampleSettings();
};

// The arch cell alone picks the request's family and the port it goes to. The layouts are the
// builders' own table; here a device reads back the target and the settings.
TEST_F(ConfigSenderTest, EachFamilyGetsItsOwnRequestOnItsOwnPort) {
    ASSERT_TRUE(SendConfigRequest(*endpoint, {std::string(kSampleMacText), "08bits"}, settings));
    const auto request08 = device08->Receive(2s);
    ASSERT_TRUE(request08);
    const auto config08 = device::DecodeConfigRequest(device::Family::Bits08, request08->bytes);
    ASSERT_TRUE(config08);
    EXPECT_EQ(config08->macAddress, testing::kSampleMac);
    EXPECT_EQ(config08->ipAddress, 0xC0A80132u);
    ExpectNothingMore(*endpoint);

    ASSERT_TRUE(SendConfigRequest(*endpoint, {std::string(kSampleMacText), "32bits"}, settings));
    const auto request32 = device32->Receive(2s);
    ASSERT_TRUE(request32);
    const auto config32 = device::DecodeConfigRequest(device::Family::Bits32, request32->bytes);
    ASSERT_TRUE(config32);
    EXPECT_EQ(config32->macAddress, testing::kSampleMac);
    EXPECT_EQ(config32->hostName, "Unit");
    // "localhost" is 127.0.0.1 on every machine this runs on.
    EXPECT_EQ(Bytes(request32->bytes.begin() + 8, request32->bytes.begin() + 12),
              (Bytes{0x7F, 0x00, 0x00, 0x01}));
    ExpectNothingMore(*endpoint);
}

// The user is told the changes went out only when they did.
TEST_F(ConfigSenderTest, NothingSentIsReportedAsSuch) {
    Endpoint neverOpened(std::make_shared<testing::RecordingHandOver>(), [](std::string_view) {});
    EXPECT_FALSE(SendConfigRequest(neverOpened, {std::string(kSampleMacText), "32bits"}, settings));
}

}  // namespace
}  // namespace kestrelink
