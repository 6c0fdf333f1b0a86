#include "net/config_sender.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "net/datagrams.h"
#include "net/endpoint.h"
#include "net/protocol.h"
#include "tests/support/device_ports.h"
#include "tests/support/recording_hand_over.h"
#include "tests/support/samples.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using testing::kSampleMacText;
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& array) {
    return {array.begin(), array.end()};
}

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

// The arch cell alone picks the request's family and the port it goes to.
TEST_F(ConfigSenderTest, EachFamilyGetsItsOwnRequestOnItsOwnPort) {
    ASSERT_TRUE(SendConfigRequest(*endpoint, {std::string(kSampleMacText), "08bits"}, settings));
    const auto request08 = device08->Receive(2s);
    ASSERT_TRUE(request08);
    EXPECT_EQ(request08->bytes, ToBytes(BuildConfigRequest08(settings, kSampleMacText)));
    ExpectNothingMore(*endpoint);

    ASSERT_TRUE(SendConfigRequest(*endpoint, {std::string(kSampleMacText), "32bits"}, settings));
    const auto request32 = device32->Receive(2s);
    ASSERT_TRUE(request32);
    // "localhost" is 127.0.0.1 on every machine this runs on.
    EXPECT_EQ(request32->bytes,
              ToBytes(BuildConfigRequest32(settings, kSampleMacText, {0x7F, 0x00, 0x00, 0x01})));
    ExpectNothingMore(*endpoint);
}

// The user is told the changes went out only when they did.
TEST_F(ConfigSenderTest, NothingSentIsReportedAsSuch) {
    Endpoint neverOpened(std::make_shared<testing::RecordingHandOver>(), [](std::string_view) {});
    EXPECT_FALSE(SendConfigRequest(neverOpened, {std::string(kSampleMacText), "32bits"}, settings));
}

}  // namespace
}  // namespace kestrelink
