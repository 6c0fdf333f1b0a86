#include "net/config_sender.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "net/datagrams.h"
#include "net/endpoint.h"
#include "net/protocol.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/network_guard.h"
#include "tests/support/recording_hand_over.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class ConfigSenderTest : public testing::PrivateNetworkTest {
protected:
    void SetUp() override {
        PrivateNetworkTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        device08.emplace(DEVICE_PORT_08);
        device32.emplace(DEVICE_PORT_32);
        ASSERT_TRUE(device08->IsOpen());
        ASSERT_TRUE(device32->IsOpen());
        endpoint.emplace(std::make_shared<testing::RecordingHandOver>(),
                         [](std::string_view message) { ADD_FAILURE() << message; });
        ASSERT_TRUE(endpoint->OpenEndpoint());
        // The start-up probes.
        ASSERT_TRUE(device08->Receive(2s));
        ASSERT_TRUE(device32->Receive(2s));
        settings.ipAddress = 0xC0A80132;
        settings.subnetMask = 0xFFFFFF00;
        settings.gateway = 0xC0A80101;
        settings.dnsServer = 0xC0A80102;
        settings.password = "secret";
        settings.hostName = "Unit";
    }

    std::optional<testing::LoopbackPeer> device08;
    std::optional<testing::LoopbackPeer> device32;
    std::optional<Endpoint> endpoint;
    IpSettings settings;
};

TEST_F(ConfigSenderTest, Bits08TargetGetsTheShortRequestOnItsPort) {
    ASSERT_TRUE(SendConfigRequest(*endpoint, {"00:1a:2b:3c:4d:5e", "08bits"}, settings));
    const auto received = device08->Receive(2s);
    ASSERT_TRUE(received);
    const auto expected = BuildConfigRequest08(settings, "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(received->bytes, Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(received->sourcePort, LOCAL_PORT);
    EXPECT_FALSE(device32->Receive(100ms));
}

TEST_F(ConfigSenderTest, Bits32TargetGetsTheLongRequestOnItsPort) {
    ASSERT_TRUE(SendConfigRequest(*endpoint, {"00:1a:2b:3c:4d:5e", "32bits"}, settings));
    const auto received = device32->Receive(2s);
    ASSERT_TRUE(received);
    const auto expected =
        BuildConfigRequest32(settings, "00:1a:2b:3c:4d:5e", ResolveLocalhostAddress());
    EXPECT_EQ(received->bytes, Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(received->sourcePort, LOCAL_PORT);
    EXPECT_FALSE(device08->Receive(100ms));
    // "localhost" is 127.0.0.1 on every machine this runs on.
    EXPECT_EQ(Bytes(received->bytes.begin() + 8, received->bytes.begin() + 12),
              (Bytes{0x7F, 0x00, 0x00, 0x01}));
}

// The user is told the changes went out only when they did.
TEST_F(ConfigSenderTest, NothingSentIsReportedAsSuch) {
    Endpoint neverOpened(std::make_shared<testing::RecordingHandOver>(), [](std::string_view) {});
    EXPECT_FALSE(SendConfigRequest(neverOpened, {"00:1a:2b:3c:4d:5e", "32bits"}, settings));
    endpoint->CloseEndpoint();
    EXPECT_FALSE(SendConfigRequest(*endpoint, {"00:1a:2b:3c:4d:5e", "08bits"}, settings));
    EXPECT_FALSE(device08->Receive(100ms));
}

}  // namespace
}  // namespace kestrelink
