#include "net/endpoint.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "net/datagrams.h"
#include "net/protocol.h"
#include "tests/support/device_ports.h"
#include "tests/support/recording_hand_over.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kArrival = 2s;

Bytes SomeAnnouncement08(std::uint8_t id) {
    device::AnnouncementFields fields;
    fields.serialNumber = id;
    fields.ipAddress = 0x0A000000u | id;
    fields.macAddress = {0, 0, 0, 0, 0, id};
    fields.givenName = "device " + std::to_string(id);
    return device::EncodeAnnouncement(device::Family::Bits08, fields);
}

class EndpointTest : public testing::DevicePortsTest {
protected:
    Endpoint::FailureReport RecordFailures() {
        return [this](std::string_view message) { failures.emplace_back(message); };
    }

    // Opens endpoint and takes its start-up probe pair.
    void Open(Endpoint& endpoint) {
        ASSERT_TRUE(endpoint.OpenEndpoint());
        EXPECT_TRUE(endpoint.HasListener());
        ExpectProbePair();
    }

    std::shared_ptr<testing::RecordingHandOver> handOver =
        std::make_shared<testing::RecordingHandOver>();
    std::vector<std::string> failures;
};

// The opening sends one pair by itself; after that a pair goes out only once per cleared latch,
// however many senders race for it.
TEST_F(EndpointTest, ProbePairGoesOutOncePerClearedLatch) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(endpoint));
    for (int rediscovery = 1; rediscovery <= 2; ++rediscovery) {
        SCOPED_TRACE("rediscovery " + std::to_string(rediscovery));
        endpoint.SendProbes();
        ExpectNothingMore(endpoint);
        endpoint.ClearProbesSent();
        std::vector<std::thread> senders;
        for (int i = 0; i < 8; ++i) {
            senders.emplace_back([&] { endpoint.SendProbes(); });
        }
        for (auto& sender : senders) {
            sender.join();
        }
        ExpectProbePair();
    }
    ExpectNothingMore(endpoint);
    EXPECT_TRUE(failures.empty());
}

TEST_F(EndpointTest, SecondEndpointFailsAtBindAndSendsNothing) {
    Endpoint first(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(first));

    std::vector<std::string> secondFailures;
    Endpoint second(handOver,
                    [&](std::string_view message) { secondFailures.emplace_back(message); });
    EXPECT_FALSE(second.OpenEndpoint());
    EXPECT_EQ(secondFailures,
              std::vector<std::string>{"Failed to bind datagram socket to listening port.\n"
                                       "Check if another copy of the application is running."});
    EXPECT_FALSE(second.HasListener());
    EXPECT_TRUE(failures.empty());
    // A socket left over from the failed opening would send from a port nobody reads.
    EXPECT_FALSE(second.SendToDevices(BuildProbe08(), DEVICE_PORT_08));
    ExpectNothingMore(first);
}

// The system may have no thread to give; the endpoint then opens silently without a listener, so
// that Discover and Cfg IP still send.
TEST_F(EndpointTest, ListenerThreadRefusedLeavesASilentEndpointThatSends) {
    Endpoint endpoint(handOver, RecordFailures(), [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    EXPECT_TRUE(endpoint.OpenEndpoint());
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_TRUE(failures.empty());
    endpoint.SendProbes();
    ExpectProbePair();
}

TEST_F(EndpointTest, SendToDevicesLeavesFromTheLocalPortOnlyWhenOpen) {
    const Bytes request(kConfigRequest08Length, 0xA5);
    Endpoint endpoint(handOver, RecordFailures());
    EXPECT_FALSE(endpoint.SendToDevices(request, DEVICE_PORT_08));

    ASSERT_NO_FATAL_FAILURE(Open(endpoint));
    EXPECT_TRUE(endpoint.SendToDevices(request, DEVICE_PORT_08));
    const auto received = device08->Receive(kArrival);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->bytes, request);
    EXPECT_EQ(received->sourcePort, 54320);
}

TEST_F(EndpointTest, ListenerHandsOverEveryDatagramOfABurstInOrder) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(endpoint));

    constexpr int kDevices = 200;
    for (int id = 0; id < kDevices; ++id) {
        ASSERT_TRUE(
            device08->SendTo(SomeAnnouncement08(static_cast<std::uint8_t>(id)), LOCAL_PORT));
    }
    ASSERT_TRUE(device32->SendTo(Bytes(kIpSetResponse32Length, 0), LOCAL_PORT));

    const auto events = handOver->WaitForEvents(kDevices + 1, kArrival);
    ASSERT_EQ(events.size(), static_cast<std::size_t>(kDevices + 1));
    for (int id = 0; id < kDevices; ++id) {
        const auto& event = events[static_cast<std::size_t>(id)];
        EXPECT_EQ(event.kind, testing::HandedOver::Kind::Announcement);
        EXPECT_EQ(event.cells[kColumnGivenName], "device " + std::to_string(id));
    }
    EXPECT_EQ(events.back().kind, testing::HandedOver::Kind::SetResponse);
}

TEST_F(EndpointTest, ClosingWhileIdleEndsTheListenerAndFreesThePort) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(endpoint));

    endpoint.CloseEndpoint();
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_FALSE(endpoint.SendToDevices(BuildProbe08(), DEVICE_PORT_08));
    EXPECT_TRUE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
}

// The listener never runs out of datagrams to read here: it must still see the stop.
TEST_F(EndpointTest, ClosingUnderAFloodEndsTheListenerAndFreesThePort) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(endpoint));
    std::atomic<bool> closed{false};
    std::thread flood([&] {
        const Bytes announcement = SomeAnnouncement08(1);
        for (int sent = 0; sent < 200'000 && !closed; ++sent) {
            device08->SendTo(announcement, LOCAL_PORT);
        }
    });
    EXPECT_FALSE(handOver->WaitForEvents(1, kArrival).empty());

    endpoint.CloseEndpoint();
    closed = true;
    flood.join();
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_TRUE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
}

}  // namespace
}  // namespace kestrelink
