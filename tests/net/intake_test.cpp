#include "net/intake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/udp_socket.h"
#include "tests/support/device_ports.h"
#include "tests/support/recording_hand_over.h"
#include "tests/support/samples.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

DeviceRow RowOf(const RowCells& cells) {
    DeviceRow row;
    std::copy(cells.begin(), cells.end(), row.begin());
    return row;
}

// Both address fields are set, so that a cell taken from the other family's field shows.
TEST(FormRowCellsTest, TheFamilyPicksTheAddressField) {
    const std::string longIpText(128, '7');
    Announcement announcement;
    announcement.serialNumber = 4294967295u;
    announcement.ipAddress = {192, 168, 1, 10};
    announcement.ipAddressText = longIpText;  // taken as it stands, however long
    announcement.macAddress = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    announcement.productName = "Gateway Pro";
    announcement.givenName = "Roof";
    announcement.version = "4.0.1";
    FormedTexts texts;
    announcement.family = DeviceFamily::Bits08;
    EXPECT_EQ(RowOf(FormRowCells(announcement, texts)),
              (DeviceRow{"192.168.1.10", "aa:bb:cc:dd:ee:ff", "Gateway Pro", "Roof", "4.0.1",
                         "4294967295", "08bits"}));
    announcement.family = DeviceFamily::Bits32;
    EXPECT_EQ(RowOf(FormRowCells(announcement, texts)),
              (DeviceRow{longIpText, "aa:bb:cc:dd:ee:ff", "Gateway Pro", "Roof", "4.0.1",
                         "4294967295", "32bits"}));
}

// The list before an announcement of MAC 00:1a:2b:3c:4d:5e and IP 10.0.0.1 arrives, and the list
// after it, by the given-name cells (the announcement's is "new").
struct ListedRow {
    std::string ip;
    std::string mac;
    std::string given;
};

struct OutcomeCase {
    const char* name;
    std::vector<ListedRow> before;  // top row first
    std::vector<std::string> after;
};

constexpr const char* kSameMac = "00:1a:2b:3c:4d:5e";
constexpr const char* kOtherMac = "00:00:00:00:00:02";

class TakeInOutcomeTest : public ::testing::TestWithParam<std::tuple<OutcomeCase, DeviceFamily>> {};

TEST_P(TakeInOutcomeTest, ListAfterwards) {
    const auto& [c, family] = GetParam();
    const std::string arch = family == DeviceFamily::Bits32 ? "32bits" : "08bits";
    DeviceList list;
    for (auto row = c.before.rbegin(); row != c.before.rend(); ++row) {
        list.InsertRow({row->ip, row->mac, "Old Product", row->given, "0.9", "1", arch});
    }
    const Announcement announcement{
        family, 300, {10, 0, 0, 1}, "10.0.0.1", testing::kSampleMac, "New Product", "new", "2.0"};

    TakeInAnnouncement(list, announcement);

    std::vector<std::string> after;
    for (int row = 0; row < list.RowCount(); ++row) {
        after.push_back(list.CellText(row, kColumnGivenName));
    }
    EXPECT_EQ(after, c.after);
    if (!after.empty() && after.front() == "new") {
        const DeviceRow expected{"10.0.0.1", kSameMac, "New Product", "new", "2.0", "300", arch};
        for (int column = 0; column < kColumnCount; ++column) {
            EXPECT_EQ(list.CellText(0, column), expected[static_cast<std::size_t>(column)]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, TakeInOutcomeTest,
    ::testing::Combine(
        ::testing::Values(
            OutcomeCase{"NeitherListed", {{"10.0.0.2", kOtherMac, "other"}}, {"new", "other"}},
            OutcomeCase{"SameDeviceHeardAgainIsRefreshedOnTop",
                        {{"10.0.0.2", kOtherMac, "other"}, {"10.0.0.1", kSameMac, "old"}},
                        {"new", "other"}},
            OutcomeCase{"AddressChangedKeepsOneRow",
                        {{"10.0.0.2", kOtherMac, "other"}, {"10.0.0.3", kSameMac, "old"}},
                        {"new", "other"}},
            OutcomeCase{"AddressHeldByAnotherDeviceIsRefused",
                        {{"10.0.0.1", kOtherMac, "other"}},
                        {"other"}},
            OutcomeCase{"DeviceTakingAnotherDevicesAddressVanishes",
                        {{"10.0.0.3", kSameMac, "old"}, {"10.0.0.1", kOtherMac, "other"}},
                        {"other"}}),
        ::testing::Values(DeviceFamily::Bits08, DeviceFamily::Bits32)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == DeviceFamily::Bits32 ? "_32" : "_08");
    });

enum class Sender { Port43210, Port54321, OtherPort };
enum class Expected { Announcement08, Announcement32, SetResponse, Nothing };

struct ReceiveCase {
    const char* name;
    Sender sender;
    std::size_t length;
    Expected expected;
};

// The device ports stand in for devices sending to the socket under test, bound to any port.
class ReceiveDatagramsTest : public testing::DevicePortsTest,
                             public ::testing::WithParamInterface<ReceiveCase> {
protected:
    void SetUp() override {
        DevicePortsTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(socket.Create());
        ASSERT_TRUE(socket.Bind(0));
        port = testing::BoundPort(socket.NativeHandle());
        ASSERT_NE(port, 0);
        fromOther.emplace();
        ASSERT_TRUE(fromOther->IsOpen());
    }

    testing::LoopbackPeer& PeerOf(Sender sender) {
        switch (sender) {
            case Sender::Port43210:
                return *device08;
            case Sender::Port54321:
                return *device32;
            case Sender::OtherPort:
                break;
        }
        return *fromOther;
    }

    // One read, once something has arrived; loopback queues a datagram before its send returns.
    void ReceiveQueued() {
        ASSERT_TRUE(testing::WaitReadable(socket.NativeHandle(), 2s)) << "nothing arrived";
        ReceiveDatagrams(socket, handOver, buffers);
    }

    UdpSocket socket;
    std::uint16_t port = 0;
    std::optional<testing::LoopbackPeer> fromOther;
    testing::RecordingHandOver handOver;
    IntakeBuffers buffers;
};

Bytes AnnouncementBytes(device::Family family, const std::string& givenName) {
    device::AnnouncementFields fields = testing::SampleAnnouncementFields();
    fields.givenName = givenName;
    return device::EncodeAnnouncement(family, fields);
}

Bytes DatagramFor(const ReceiveCase& c) {
    switch (c.expected) {
        case Expected::Announcement08:
            return AnnouncementBytes(device::Family::Bits08, "first");
        case Expected::Announcement32:
            return AnnouncementBytes(device::Family::Bits32, "first");
        case Expected::SetResponse:
        case Expected::Nothing:
            break;
    }
    // Shaped like an announcement as far as it goes, so that only port and length can tell.
    Bytes datagram(c.length, 0);
    for (std::size_t i = 0; i < datagram.size(); ++i) {
        datagram[i] = static_cast<std::uint8_t>(0x30 + i % 10);
    }
    return datagram;
}

// Each case is followed by an announcement from 43210 in the same read: the case's datagram must
// be consumed whole, and the follow-up must come out intact behind it. Which port and length mean
// what is ClassifyDatagram's table; these rows cover each path through the intake's slots.
TEST_P(ReceiveDatagramsTest, HandsOverByPortAndLength) {
    const ReceiveCase& c = GetParam();
    const Bytes datagram = DatagramFor(c);
    ASSERT_EQ(datagram.size(), c.length);
    ASSERT_TRUE(PeerOf(c.sender).SendTo(datagram, port));
    ASSERT_TRUE(device08->SendTo(AnnouncementBytes(device::Family::Bits08, "follow-up"), port));

    ReceiveQueued();
    const auto events = handOver.Events();
    EXPECT_EQ(handOver.HandOvers(), 1);
    ASSERT_EQ(events.size(), c.expected == Expected::Nothing ? 1u : 2u);
    if (c.expected == Expected::SetResponse) {
        EXPECT_EQ(events[0].kind, testing::HandedOver::Kind::SetResponse);
        // All a set response tells of its device is who sent it.
        EXPECT_EQ(events[0].sourceAddress, 0x7F000001u);
        EXPECT_EQ(events[0].sourcePort, PeerOf(c.sender).Port());
    } else if (c.expected != Expected::Nothing) {
        EXPECT_EQ(events[0].kind, testing::HandedOver::Kind::Announcement);
        EXPECT_EQ(events[0].cells[kColumnGivenName], "first");
        EXPECT_EQ(events[0].cells[kColumnArch],
                  c.expected == Expected::Announcement32 ? "32bits" : "08bits");
    }
    EXPECT_EQ(events.back().kind, testing::HandedOver::Kind::Announcement);
    EXPECT_EQ(events.back().cells[kColumnGivenName], "follow-up");
    EXPECT_FALSE(testing::WaitReadable(socket.NativeHandle(), 0ms));
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, ReceiveDatagramsTest,
    ::testing::Values(
        ReceiveCase{"Announcement08", Sender::Port43210, 70, Expected::Announcement08},
        ReceiveCase{"Announcement32", Sender::Port54321, 232, Expected::Announcement32},
        ReceiveCase{"SetResponse08", Sender::Port43210, 44, Expected::SetResponse},
        ReceiveCase{"SetResponse32", Sender::Port54321, 204, Expected::SetResponse},
        ReceiveCase{"EmptyFrom43210", Sender::Port43210, 0, Expected::Nothing},
        ReceiveCase{"Length69From43210", Sender::Port43210, 69, Expected::Nothing},
        ReceiveCase{"Length71From43210", Sender::Port43210, 71, Expected::Nothing},
        ReceiveCase{"Length70From54321", Sender::Port54321, 70, Expected::Nothing},
        ReceiveCase{"Length70FromOtherPort", Sender::OtherPort, 70, Expected::Nothing},
        ReceiveCase{"Length233From54321", Sender::Port54321, 233, Expected::Nothing},
        ReceiveCase{"HugeFrom54321", Sender::Port54321, 60000, Expected::Nothing}),
    [](const auto& info) { return info.param.name; });

// The socket under test blocks. A read that waited for a datagram is let go by a batch of late
// ones, which it then hands over: the test fails rather than hangs.
TEST_F(ReceiveDatagramsTest, ReturnsWhenNothingIsQueued) {
    std::promise<void> returned;
    std::thread rescue([this, done = returned.get_future()] {
        if (done.wait_for(5s) == std::future_status::ready) {
            return;
        }
        for (std::size_t k = 0; k < kIntakeBatchLength; ++k) {
            device08->SendTo(AnnouncementBytes(device::Family::Bits08, "late"), port);
        }
    });
    ReceiveDatagrams(socket, handOver, buffers);
    returned.set_value();
    rescue.join();
    EXPECT_EQ(handOver.HandOvers(), 0);
}

// A queue longer than a batch goes over a batch at a time, in arrival order across batches.
TEST_F(ReceiveDatagramsTest, TakesAtMostABatchPerRead) {
    constexpr std::size_t kQueued = kIntakeBatchLength + 5;
    for (std::size_t k = 0; k < kQueued; ++k) {
        ASSERT_TRUE(
            device32->SendTo(AnnouncementBytes(device::Family::Bits32, std::to_string(k)), port));
    }
    ReceiveQueued();
    EXPECT_EQ(handOver.Events().size(), kIntakeBatchLength);
    ReceiveQueued();
    const auto events = handOver.Events();
    EXPECT_EQ(handOver.HandOvers(), 2);
    ASSERT_EQ(events.size(), kQueued);
    for (std::size_t k = 0; k < kQueued; ++k) {
        EXPECT_EQ(events[k].cells[kColumnGivenName], std::to_string(k)) << "arrival " << k;
    }
}

}  // namespace
}  // namespace kestrelink
