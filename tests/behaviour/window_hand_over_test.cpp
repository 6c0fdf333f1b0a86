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
    // The listener's call comes back without the user-interface thread's side running; then
    // that side runs what the call posted.
    bool HandOverAndRun(std::vector<Arrival> arrivals) {
        if (Listen(std::move(arrivals)).wait_for(kHang) != std::future_status::ready) {
            return false;
        }
        face.RunPosted();
        return true;
    }
    // Until the listener has posted its call.
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
    void TearDown() override { handOver.Cancel(); }
};

// The listener goes on reading while the user-interface thread is busy elsewhere; the device's
// texts, which die with the listener's buffer, are kept until that thread takes them in.
TEST_F(HandOverTest, AnnouncementTakenInOnTheUiThreadWithoutHoldingUpTheListener) {
    std::future<void> call = std::async(std::launch::async, [this] {
        const HeardDevice device;
        const Arrival arrival = device.Heard();
        handOver.TakeIn({&arrival, 1});
    });
    ASSERT_EQ(call.wait_for(kHang), std::future_status::ready);
    EXPECT_EQ(list.RowCount(), 0);  // nothing is touched before the user-interface thread runs

    EXPECT_TRUE(face.RunPosted());
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
    ASSERT_EQ(flood.wait_for(kHang), std::future_status::ready);
    face.RunPosted();
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

    ASSERT_TRUE(HandOverAndRun({kSetResponse, first.Heard(), kSetResponse}));
    EXPECT_EQ(face.boxes, std::vector{box});
    EXPECT_EQ(list.RowCount(), 1);

    ASSERT_TRUE(HandOverAndRun({kSetResponse, second.Heard(), kSetResponse}));
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(face.boxes, std::vector{box});

    face.CloseNotice();
    ASSERT_TRUE(HandOverAndRun({kSetResponse}));
    EXPECT_EQ(face.boxes, (std::vector{box, box}));
}

struct CancelCase {
    const char* name;
    bool setResponse;
};

class CancelTest : public HandOverTest, public ::testing::WithParamInterface<CancelCase> {};

// Cancelled with a slice posted and not yet run: that slice and every later hand-over must leave
// everything alone.
TEST_P(CancelTest, LeavesAPostedSliceAndLaterHandOversWithoutEffect) {
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
