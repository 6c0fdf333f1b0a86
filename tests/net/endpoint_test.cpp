#include "net/endpoint.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "net/datagrams.h"
#include "net/listener_hand_over.h"
#include "net/protocol.h"
#include "tests/support/device_ports.h"
#include "tests/support/recording_hand_over.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr auto kArrival = 2s;

// Stands in for the window's side: each call blocks until that side answers, and once the window
// is gone every call, pending or new, returns at once without effect.
class HandOverUntilCancelled final : public ListenerHandOver {
public:
    void TakeIn(std::span<const Arrival>) override { Hold(); }

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

    // Leaves the listener inside a hand-over of held that does not return until cancelled.
    void HoldListener(Endpoint& endpoint, HandOverUntilCancelled& held) {
        ASSERT_NO_FATAL_FAILURE(Open(endpoint));
        ASSERT_TRUE(device08->SendTo(SomeAnnouncement08(1), LOCAL_PORT));
        ASSERT_TRUE(held.WaitUntilEntered(kArrival));
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

// Only a listener that has ended within the stop wait lets go of the socket.
TEST_F(EndpointTest, ClosingWhileIdleEndsTheListenerAndFreesThePort) {
    Endpoint endpoint(handOver, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(Open(endpoint));

    endpoint.CloseEndpoint();
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_FALSE(endpoint.SendToDevices(BuildProbe08(), DEVICE_PORT_08));
    EXPECT_TRUE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
}

// The window goes away before the endpoint closes, which releases a hand-over the listener is
// waiting in; the listener must then see the stop instead of being abandoned when the stop wait
// runs out, even with more datagrams queued behind it.
TEST_F(EndpointTest, ClosingAfterAHeldHandOverIsReleasedEndsTheListener) {
    const auto held = std::make_shared<HandOverUntilCancelled>();
    Endpoint endpoint(held, RecordFailures());
    ASSERT_NO_FATAL_FAILURE(HoldListener(endpoint, *held));
    for (std::uint8_t id = 2; id < 50; ++id) {
        ASSERT_TRUE(device08->SendTo(SomeAnnouncement08(id), LOCAL_PORT));
    }

    held->Cancel();
    endpoint.CloseEndpoint();
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_TRUE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
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
    ASSERT_NO_FATAL_FAILURE(HoldListener(endpoint, *held));

    constexpr auto kStopWait = 200ms;
    const auto started = Clock::now();
    endpoint.CloseEndpoint(kStopWait);
    EXPECT_GE(Clock::now() - started, kStopWait);
    EXPECT_FALSE(endpoint.HasListener());
    EXPECT_FALSE(endpoint.SendToDevices(BuildProbe08(), DEVICE_PORT_08));

    // The abandoned listener still owns the socket until it gets back from the hand-over.
    EXPECT_FALSE(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
    held->Cancel();
    EXPECT_TRUE(PortFreesWithin(kArrival));
}

}  // namespace
}  // namespace kestrelink
