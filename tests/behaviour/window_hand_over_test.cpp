#include "behaviour/window_hand_over.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "tests/behaviour/support/recording_face.h"

using namespace kestrelink;
using namespace kestrelink::testing;
using namespace std::chrono_literals;

namespace {

// Only a hand-over that never comes back takes this long.
constexpr auto kHang = 10s;

// What the listener would hand over; its texts live in this object, as in the receive buffer.
// Device n has IP 10.1.<n / 256>.<n % 256> and a MAC ending in the same two bytes.
struct HeardDevice {
    std::string ip;
    std::string product = "Product";
    Announcement announcement;

    explicit HeardDevice(int n = 9)
        : ip("10.1." + std::to_string(n / 256) + "." + std::to_string(n % 256)) {
        announcement.family = DeviceFamily::Bits32;
        announcement.serialNumber = 9;
        announcement.ipAddressText = ip;
        announcement.macAddress = {0x02, 0, 0, 0, std::uint8_t(n / 256), std::uint8_t(n % 256)};
        announcement.productName = product;
    }

    Arrival Heard() const { return {Arrival::Kind::Announcement, announcement}; }
};

const Arrival kSetResponse{Arrival::Kind::SetResponse, {}};

struct HandOverTest : ::testing::Test {
    RecordingFace face;
    DeviceList list;
    WindowHandOver handOver{list, face, face};

    // The listener's call on a thread of its own, as the listener makes it.
    std::future<void> Listen(std::vector<Arrival> arrivals) {
        return std::async(std::launch::async,
                          [this, arrivals = std::move(arrivals)] { handOver.TakeIn(arrivals); });
    }
    // Runs the user-interface thread's side until the listener's call has come back.
    bool RunUntilReturned(std::future<void>& call) {
        const auto giveUp = std::chrono::steady_clock::now() + kHang;
        while (call.wait_for(0ms) != std::future_status::ready) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            face.RunPosted();
            std::this_thread::yield();
        }
        return true;
    }
    // Until the listener, waiting in its hand-over, has posted its call.
    bool WaitForPostedCall() {
        const auto giveUp = std::chrono::steady_clock::now() + kHang;
        while (!face.HasPosted()) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            std::this_thread::yield();
        }
        return true;
    }
    // Releases a listener still waiting, so that a failed check does not hang the test.
    void TearDown() override { handOver.Cancel(); }
};

TEST_F(HandOverTest, AnnouncementTakenInOnTheUiThreadWhileTheListenerWaits) {
    const HeardDevice device;
    const Arrival arrival = device.Heard();
    int rowsWhenReturned = -1;
    std::future<void> call = std::async(std::launch::async, [&] {
        handOver.TakeIn({&arrival, 1});
        rowsWhenReturned = list.RowCount();
    });
    ASSERT_TRUE(WaitForPostedCall());
    EXPECT_EQ(list.RowCount(), 0);  // nothing is touched before the user-interface thread runs

    ASSERT_TRUE(RunUntilReturned(call));
    EXPECT_EQ(rowsWhenReturned, 1);
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.CellText(0, kColumnIp), "10.1.0.9");
    EXPECT_EQ(list.CellText(0, kColumnArch), "32bits");
}

TEST_F(HandOverTest, FloodArrivesWholeAndInOrder) {
    constexpr int kDevices = 2000;
    std::future<void> flood = std::async(std::launch::async, [this] {
        for (int number = 0; number < kDevices; ++number) {
            const HeardDevice device(number);
            const Arrival arrival = device.Heard();
            handOver.TakeIn({&arrival, 1});
        }
    });
    ASSERT_TRUE(RunUntilReturned(flood));
    ASSERT_EQ(list.RowCount(), kDevices);
    EXPECT_EQ(list.CellText(0, kColumnIp), "10.1.7.207");
    EXPECT_EQ(list.CellText(kDevices - 1, kColumnIp), "10.1.0.0");
}

// A set response must neither halt the intake nor stack up boxes: one box while it is open,
// whatever else arrives, and a fresh one only after the user has dismissed it.
TEST_F(HandOverTest, SetResponsesAmidAnnouncementsShowOneBoxWhileIntakeGoesOn) {
    const HeardDevice first(1);
    const HeardDevice second(2);
    const std::string box = "notice Error|IPSetResponse";
    const auto handOverAndRun = [this](std::vector<Arrival> arrivals) {
        std::future<void> call = Listen(std::move(arrivals));
        return RunUntilReturned(call);
    };

    ASSERT_TRUE(handOverAndRun({kSetResponse, first.Heard(), kSetResponse}));
    EXPECT_EQ(face.boxes, std::vector{box});
    EXPECT_EQ(list.RowCount(), 1);

    ASSERT_TRUE(handOverAndRun({kSetResponse, second.Heard(), kSetResponse}));
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(face.boxes, std::vector{box});

    face.CloseNotice();
    ASSERT_TRUE(handOverAndRun({kSetResponse}));
    EXPECT_EQ(face.boxes, (std::vector{box, box}));
}

struct CancelCase {
    const char* name;
    bool setResponse;
};

class CancelTest : public HandOverTest, public ::testing::WithParamInterface<CancelCase> {};

// Cancelled while the listener waits for a posted call: that call and every later one must leave
// everything alone, and no listener may be left waiting.
TEST_P(CancelTest, ReleasesAPendingCallAndRefusesLaterOnes) {
    const HeardDevice device;
    const Arrival arrival = GetParam().setResponse ? kSetResponse : device.Heard();
    std::future<void> pending = Listen({arrival});
    ASSERT_TRUE(WaitForPostedCall());

    handOver.Cancel();
    ASSERT_EQ(pending.wait_for(kHang), std::future_status::ready);
    std::future<void> later = Listen({arrival});
    ASSERT_EQ(later.wait_for(kHang), std::future_status::ready);
    face.RunPosted();

    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_TRUE(face.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(HandOver, CancelTest,
                         ::testing::Values(CancelCase{"Announcement", false},
                                           CancelCase{"SetResponse", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
