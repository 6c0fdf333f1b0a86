#include "net/endpoint.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/datagrams.h"
#include "net/device_datagrams.h"
#include "net/listener_hand_over.h"
#include "net/protocol.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/network_guard.h"
#include "tests/support/recording_hand_over.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Long enough for a datagram on loopback to have arrived if it was sent at all.
constexpr auto kQuiet = 100ms;
constexpr auto kArrival = 2s;

// Stands in for the window's side: each call blocks until that side answers, and once the window
// is gone every call, pending or new, returns at once without effect.
class HandOverUntilCancelled final : public ListenerHandOver {
public:
    void TakeInAnnouncement(const Announcement&) override { Hold(); }
    void ShowSetResponse() override { Hold(); }

    void Cancel() {
        {
            const std::lock_guard lock(m_mutex);
            m_cancelled = true;
        }
        m_changed.notify_all();
    }
    bool WaitUntilEntered(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_entered > 0; });
    }

private:
    void Hold() {
        std::unique_lock lock(m_mutex);
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_cancelled; });
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_entered = 0;
    bool m_cancelled = false;
};

Bytes SomeAnnouncement08(std::uint8_t id) {
    AnnouncementFields fields;
    fields.serialNumber = id;
    fields.ipAddress = 0x0A000000u | id;
    fields.macAddress = {0, 0, 0, 0, 0, id};
    fields.givenName = "device " + std::to_string(id);
    return EncodeAnnouncement(DeviceFamily::Bits08, fields);
}

class EndpointTest : public testing::PrivateNetworkTest {
protected:
    void SetUp() override {
        PrivateNetworkTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        device08.emplace(DEVICE_PORT_08);
        device32.emplace(DEVICE_PORT_32);
        ASSERT_TRUE(device08->IsOpen()) << "port 43210 is taken";
        ASSERT_TRUE(device32->IsOpen()) << "port 54321 is taken";
    }

    Endpoint::FailureReport RecordFailures() {
        return [this](std::string_view message) { failures.emplace_back(message); };
    }

    // The next datagram at a device port must be the probe of its family, from port 54320.
    void ExpectProbePair() {
        const auto probe08 = device08->Receive(kArrival);
        ASSERT_TRUE(probe08) << "no Probe08";
        EXPECT_EQ(probe08->bytes, (Bytes{0x5A, 0x5A}));
        EXPECT_EQ(probe08->sourcePort, LOCAL_PORT);
        const auto probe32 = device32->Receive(kArrival);
        ASSERT_TRUE(probe32) << "no Probe32";
        EXPECT_EQ(probe32->bytes, (Bytes{0x5A, 0x5A, 0x00, 0x00}));
        EXPECT_EQ(probe32->sourcePort, LOCAL_PORT);
    }

    void ExpectNothingMore() {
        EXPECT_FALSE(device08->Receive(kQuiet)) << "unexpected datagram at 43210";
        EXPECT_FALSE(device32->Receive(kQuiet)) << "unexpected datagram at 54321";
    }

    std::optional<testing::LoopbackPeer> device08;
    std::optional<testing::LoopbackPeer> device32;
    std::shared_ptr<testing::RecordingHandOver> handOver =
        std::make_shared<testing::RecordingHandOver>();
    std::vector<std::string> failures;
};

TEST_F(EndpointTest, OpeningSendsOneProbePairByItself) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    EXPECT_TRUE(endpoint.HasListener());
    ExpectProbePair();
    ExpectNothingMore();
    EXPECT_TRUE(failures.empty());
}

TEST_F(EndpointTest, SecondEndpointFailsAtBindAndHasNoListener) {
    Endpoint first(handOver, RecordFailures());
    ASSERT_TRUE(first.OpenEndpoint());
    ExpectProbePair();

    std::vector<std::string> secondFailures;
    Endpoint second(handOver,
                    [&](std::string_view message) { secondFailures.emplace_back(message); });
    EXPECT_FALSE(second.OpenEndpoint());
    EXPECT_EQ(secondFailures, std::vector<std::string>{std::string(kBindFailedMessage)});
    EXPECT_FALSE(second.HasListener());
    EXPECT_TRUE(failures.empty());
    // A socket left over from the failed opening would send from a port nobody reads.
    EXPECT_FALSE(second.SendToDevices(BuildProbe08(), DEVICE_PORT_08));
    ExpectNothingMore();
}

TEST_F(EndpointTest, ProbesGoOutAgainOnlyAfterTheLatchIsCleared) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();

    endpoint.SendProbes();
    ExpectNothingMore();

    for (int rediscovery = 0; rediscovery < 3; ++rediscovery) {
        SCOPED_TRACE("rediscovery " + std::to_string(rediscovery));
        endpoint.ClearProbesSent();
        endpoint.SendProbes();
        ExpectProbePair();
        endpoint.SendProbes();
        ExpectNothingMore();
    }
}

TEST_F(EndpointTest, RacingSendsAfterOneClearSendOnePair) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();

    endpoint.ClearProbesSent();
    std::vector<std::thread> senders;
    for (int i = 0; i < 8; ++i) {
        senders.emplace_back([&] { endpoint.SendProbes(); });
    }
    for (auto& sender : senders) {
        sender.join();
    }
    ExpectProbePair();
    ExpectNothingMore();
}

TEST_F(EndpointTest, SendToDevicesLeavesFromTheLocalPort) {
    Endpoint closed(handOver, RecordFailures());
    const Bytes request(CONFIG_REQUEST08_LENGTH, 0xA5);
    EXPECT_FALSE(closed.SendToDevices(request, DEVICE_PORT_08));

    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();
    EXPECT_TRUE(endpoint.SendToDevices(request, DEVICE_PORT_08));
    const auto received = device08->Receive(kArrival);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->bytes, request);
    EXPECT_EQ(received->sourcePort, LOCAL_PORT);
}

TEST_F(EndpointTest, ListenerHandsOverEveryDatagramOfABurstInOrder) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();

    constexpr int kDevices = 200;
    for (int id = 0; id < kDevices; ++id) {
        ASSERT_TRUE(
            device08->SendTo(SomeAnnouncement08(static_cast<std::uint8_t>(id)), LOCAL_PORT));
    }
    ASSERT_TRUE(device32->SendTo(Bytes(IP_SET_RESPONSE32_LENGTH, 0), LOCAL_PORT));

    const auto events = handOver->WaitForEvents(kDevices + 1, kArrival);
    ASSERT_EQ(events.size(), static_cast<std::size_t>(kDevices + 1));
    for (int id = 0; id < kDevices; ++id) {
        const auto& event = events[static_cast<std::size_t>(id)];
        EXPECT_EQ(event.kind, testing::HandedOver::Kind::Announcement);
        EXPECT_EQ(event.cells[kColumnGivenName], "device " + std::to_string(id));
    }
    EXPECT_EQ(events.back().kind, testing::HandedOver::Kind::SetResponse);
}

TEST_F(EndpointTest, ClosingWhileIdleIsQuickAndFreesThePort) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();

    const auto started = Clock::now();
    endpoint.CloseEndpoint();
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_FALSE(endpoint.SendToDevices(BuildProbe08(), DEVICE_PORT_08));
    testing::LoopbackPeer again(LOCAL_PORT);
    EXPECT_TRUE(again.IsOpen());
}

// The window goes away before the endpoint closes, which releases a hand-over the listener is
// waiting in; the listener must then see the stop at once instead of being waited for until the
// stop time runs out, even with more datagrams queued behind it.
TEST_F(EndpointTest, ClosingAfterAHeldHandOverIsReleasedDoesNotSitOutTheStopWait) {
    const auto held = std::make_shared<HandOverUntilCancelled>();
    Endpoint endpoint(held, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();
    ASSERT_TRUE(device08->SendTo(SomeAnnouncement08(1), LOCAL_PORT));
    ASSERT_TRUE(held->WaitUntilEntered(kArrival));
    for (std::uint8_t id = 2; id < 50; ++id) {
        ASSERT_TRUE(device08->SendTo(SomeAnnouncement08(id), LOCAL_PORT));
    }

    const auto started = Clock::now();
    held->Cancel();
    endpoint.CloseEndpoint();
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_FALSE(endpoint.HasListener());
    // Only a listener that has ended lets go of the socket.
    testing::LoopbackPeer again(LOCAL_PORT);
    EXPECT_TRUE(again.IsOpen());
}

bool PortFreesWithin(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (testing::LoopbackPeer(LOCAL_PORT).IsOpen()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST_F(EndpointTest, ClosingGivesUpOnAListenerThatDoesNotEndInTime) {
    const auto held = std::make_shared<HandOverUntilCancelled>();
    Endpoint endpoint(held, RecordFailures());
    ASSERT_TRUE(endpoint.OpenEndpoint());
    ExpectProbePair();
    ASSERT_TRUE(device08->SendTo(SomeAnnouncement08(1), LOCAL_PORT));
    ASSERT_TRUE(held->WaitUntilEntered(kArrival));

    constexpr auto kStopWait = 200ms;
    const auto started = Clock::now();
    endpoint.CloseEndpoint(kStopWait);
    const auto elapsed = Clock::now() - started;
    EXPECT_GE(elapsed, kStopWait);
    EXPECT_LT(elapsed, 1s);
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_FALSE(endpoint.SendToDevices(BuildProbe08(), DEVICE_PORT_08));

    // The abandoned listener still owns the socket until it gets back from the hand-over.
    EXPECT_FALSE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
    held->Cancel();
    EXPECT_TRUE(PortFreesWithin(kArrival));
}

}  // namespace
}  // namespace kestrelink
