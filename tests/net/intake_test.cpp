#include "net/intake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/udp_socket.h"
#include "tests/support/byte_fields.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/network_guard.h"
#include "tests/support/recording_hand_over.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using testing::PutBytes;
using testing::PutText;
using Bytes = std::vector<std::uint8_t>;

struct DeviceTexts {
    std::string product = "Sensor";
    std::string given = "Hall";
    std::string version = "1.2.3";
};

Bytes Announcement08Bytes(const Bytes& serial, const Bytes& ip, const MacAddress& mac,
                          const DeviceTexts& texts = {}) {
    Bytes datagram(ANNOUNCEMENT08_LENGTH, 0);
    PutBytes(datagram, 0, serial);
    PutBytes(datagram, 4, ip);
    PutBytes(datagram, 16, mac);
    PutText(datagram, 22, texts.product);
    PutText(datagram, 38, texts.given);
    PutText(datagram, 54, texts.version);
    return datagram;
}

Bytes Announcement32Bytes(const Bytes& serial, std::string_view ipText, const MacAddress& mac,
                          const DeviceTexts& texts = {}) {
    Bytes datagram(ANNOUNCEMENT32_LENGTH, 0);
    PutText(datagram, 8, texts.product);
    PutText(datagram, 40, texts.given);
    PutText(datagram, 72, texts.version);
    PutBytes(datagram, 92, serial);
    PutText(datagram, 96, ipText);
    PutBytes(datagram, 224, mac);
    return datagram;
}

constexpr MacAddress kMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

DeviceRow CellsOf(const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    DeviceRow row;
    std::copy(cells.begin(), cells.end(), row.begin());
    return row;
}

TEST(FormRowCellsTest, Announcement08) {
    const Bytes datagram =
        Announcement08Bytes({0x2C, 0x01, 0x00, 0x00}, {0xC0, 0xA8, 0x01, 0x0A}, kMac);
    const auto announcement = DecodeAnnouncement08(datagram);
    ASSERT_TRUE(announcement);
    EXPECT_EQ(CellsOf(*announcement), (DeviceRow{"192.168.1.10", "00:1a:2b:3c:4d:5e", "Sensor",
                                                 "Hall", "1.2.3", "300", "08bits"}));
}

TEST(FormRowCellsTest, Announcement32) {
    const Bytes datagram =
        Announcement32Bytes({0xFF, 0xFF, 0xFF, 0xFF}, "10.1.2.3",
                            {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, {"Gateway Pro", "Roof", "4.0.1"});
    const auto announcement = DecodeAnnouncement32(datagram);
    ASSERT_TRUE(announcement);
    EXPECT_EQ(CellsOf(*announcement), (DeviceRow{"10.1.2.3", "aa:bb:cc:dd:ee:ff", "Gateway Pro",
                                                 "Roof", "4.0.1", "4294967295", "32bits"}));
}

TEST(FormRowCellsTest, SerialAndAddressExtremes) {
    const Bytes zero = Announcement08Bytes({0, 0, 0, 0}, {0, 0, 0, 0}, {}, {"", "", ""});
    EXPECT_EQ(CellsOf(*DecodeAnnouncement08(zero)),
              (DeviceRow{"0.0.0.0", "00:00:00:00:00:00", "", "", "", "0", "08bits"}));
    const Bytes top = Announcement08Bytes({0xFF, 0xFF, 0xFF, 0xFF}, {255, 255, 255, 255},
                                          {255, 255, 255, 255, 255, 255});
    const DeviceRow cells = CellsOf(*DecodeAnnouncement08(top));
    EXPECT_EQ(cells[kColumnIp], "255.255.255.255");
    EXPECT_EQ(cells[kColumnMac], "ff:ff:ff:ff:ff:ff");
    EXPECT_EQ(cells[kColumnSerialNo], "4294967295");
}

TEST(FormRowCellsTest, Bits32AddressTextIsTakenAsItStands) {
    const std::string longText(128, '7');
    const Bytes datagram = Announcement32Bytes({1, 0, 0, 0}, longText, kMac);
    EXPECT_EQ(CellsOf(*DecodeAnnouncement32(datagram))[kColumnIp], longText);
    const Bytes odd = Announcement32Bytes({1, 0, 0, 0}, "not an address", kMac);
    EXPECT_EQ(CellsOf(*DecodeAnnouncement32(odd))[kColumnIp], "not an address");
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
    DeviceList list;
    for (auto row = c.before.rbegin(); row != c.before.rend(); ++row) {
        list.InsertRow({row->ip, row->mac, "Old Product", row->given, "0.9", "1",
                        family == DeviceFamily::Bits32 ? kArchText32 : kArchText08});
    }
    const DeviceTexts texts{"New Product", "new", "2.0"};
    const Bytes datagram =
        family == DeviceFamily::Bits32
            ? Announcement32Bytes({0x2C, 0x01, 0, 0}, "10.0.0.1", kMac, texts)
            : Announcement08Bytes({0x2C, 0x01, 0, 0}, {10, 0, 0, 1}, kMac, texts);
    const auto announcement = family == DeviceFamily::Bits32 ? DecodeAnnouncement32(datagram)
                                                             : DecodeAnnouncement08(datagram);
    ASSERT_TRUE(announcement);

    TakeInAnnouncement(list, *announcement);

    std::vector<std::string> after;
    for (int row = 0; row < list.RowCount(); ++row) {
        after.push_back(list.CellText(row, kColumnGivenName));
    }
    EXPECT_EQ(after, c.after);
    if (!after.empty() && after.front() == "new") {
        const std::string arch(family == DeviceFamily::Bits32 ? kArchText32 : kArchText08);
        for (int column = 0; column < kColumnCount; ++column) {
            EXPECT_EQ(list.CellText(0, column),
                      (DeviceRow{"10.0.0.1", kSameMac, "New Product", "new", "2.0", "300",
                                 arch})[static_cast<std::size_t>(column)]);
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

TEST(TakeInAnnouncementTest, SortedInUnderTheActiveColumn) {
    DeviceList list;
    list.InsertRow({"10.0.0.9", kOtherMac, "", "nine", "", "1", kArchText08});
    list.InsertRow({"10.0.0.10", "00:00:00:00:00:03", "", "ten", "", "1", kArchText08});
    list.OnHeaderClick(kColumnIp);
    const Bytes datagram = Announcement08Bytes({1, 0, 0, 0}, {10, 0, 0, 1}, kMac);
    TakeInAnnouncement(list, *DecodeAnnouncement08(datagram));
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.CellText(0, kColumnIp), "10.0.0.1");
    EXPECT_EQ(list.CellText(1, kColumnIp), "10.0.0.9");
    EXPECT_EQ(list.CellText(2, kColumnIp), "10.0.0.10");
}

enum class Sender { Port43210, Port54321, OtherPort };
enum class Expected { Announcement08, Announcement32, SetResponse, Nothing };

struct ReceiveCase {
    const char* name;
    Sender sender;
    std::size_t length;
    Expected expected;
};

class ReceiveDatagramTest : public testing::PrivateNetworkTest,
                            public ::testing::WithParamInterface<ReceiveCase> {
protected:
    void SetUp() override {
        PrivateNetworkTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(socket.Create());
        ASSERT_TRUE(socket.Bind(0));
        port = testing::BoundPort(socket.NativeHandle());
        ASSERT_NE(port, 0);
        from08.emplace(DEVICE_PORT_08);
        from32.emplace(DEVICE_PORT_32);
        fromOther.emplace();
        ASSERT_TRUE(from08->IsOpen()) << "port 43210 is taken";
        ASSERT_TRUE(from32->IsOpen()) << "port 54321 is taken";
        ASSERT_TRUE(fromOther->IsOpen());
    }

    testing::LoopbackPeer& PeerOf(Sender sender) {
        switch (sender) {
            case Sender::Port43210:
                return *from08;
            case Sender::Port54321:
                return *from32;
            case Sender::OtherPort:
                break;
        }
        return *fromOther;
    }

    // Reads one datagram once it has arrived.
    void ReceiveOne() {
        ASSERT_TRUE(testing::WaitReadable(socket.NativeHandle(), 2s)) << "nothing arrived";
        ReceiveDatagram(socket, handOver, buffers);
    }

    UdpSocket socket;
    std::uint16_t port = 0;
    // Opened only once the guard has passed.
    std::optional<testing::LoopbackPeer> from08;
    std::optional<testing::LoopbackPeer> from32;
    std::optional<testing::LoopbackPeer> fromOther;
    testing::RecordingHandOver handOver;
    IntakeBuffers buffers;
};

Bytes DatagramFor(const ReceiveCase& c) {
    switch (c.expected) {
        case Expected::Announcement08:
            return Announcement08Bytes({0x2C, 0x01, 0, 0}, {192, 168, 1, 10}, kMac,
                                       {"Sensor", "first", "1.0"});
        case Expected::Announcement32:
            return Announcement32Bytes({0x2C, 0x01, 0, 0}, "192.168.1.10", kMac,
                                       {"Gateway", "first", "1.0"});
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

// Each case is followed by an announcement from 43210: the case's datagram must be consumed
// whole by one read, and the next read must see the follow-up.
TEST_P(ReceiveDatagramTest, HandsOverByPortAndLength) {
    const ReceiveCase& c = GetParam();
    const Bytes datagram = DatagramFor(c);
    ASSERT_EQ(datagram.size(), c.length);
    ASSERT_TRUE(PeerOf(c.sender).SendTo(datagram, port));
    const Bytes followUp = Announcement08Bytes({7, 0, 0, 0}, {10, 9, 9, 9}, {0, 0, 0, 0, 0, 7},
                                               {"Sensor", "follow-up", "1.0"});
    ASSERT_TRUE(from08->SendTo(followUp, port));

    ReceiveOne();
    const auto first = handOver.Events();
    ASSERT_EQ(first.size(), c.expected == Expected::Nothing ? 0u : 1u);
    if (c.expected == Expected::SetResponse) {
        EXPECT_EQ(first[0].kind, testing::HandedOver::Kind::SetResponse);
    } else if (c.expected != Expected::Nothing) {
        EXPECT_EQ(first[0].kind, testing::HandedOver::Kind::Announcement);
        const bool bits32 = c.expected == Expected::Announcement32;
        // Listed under the address it announces, not the one it came from.
        EXPECT_EQ(first[0].cells,
                  (DeviceRow{"192.168.1.10", "00:1a:2b:3c:4d:5e", bits32 ? "Gateway" : "Sensor",
                             "first", "1.0", "300", bits32 ? "32bits" : "08bits"}));
    }

    ReceiveOne();
    const auto all = handOver.Events();
    ASSERT_EQ(all.size(), first.size() + 1);
    EXPECT_EQ(all.back().kind, testing::HandedOver::Kind::Announcement);
    EXPECT_EQ(all.back().cells[kColumnGivenName], "follow-up");
    EXPECT_FALSE(testing::WaitReadable(socket.NativeHandle(), 0ms));
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, ReceiveDatagramTest,
    ::testing::Values(
        ReceiveCase{"Announcement08", Sender::Port43210, 70, Expected::Announcement08},
        ReceiveCase{"Announcement32", Sender::Port54321, 232, Expected::Announcement32},
        ReceiveCase{"SetResponse08", Sender::Port43210, 44, Expected::SetResponse},
        ReceiveCase{"SetResponse32", Sender::Port54321, 204, Expected::SetResponse},
        ReceiveCase{"Length71From43210", Sender::Port43210, 71, Expected::Nothing},
        ReceiveCase{"Length204From43210", Sender::Port43210, 204, Expected::Nothing},
        ReceiveCase{"Length232From43210", Sender::Port43210, 232, Expected::Nothing},
        ReceiveCase{"Length69From43210", Sender::Port43210, 69, Expected::Nothing},
        ReceiveCase{"EmptyFrom43210", Sender::Port43210, 0, Expected::Nothing},
        ReceiveCase{"Length70From54321", Sender::Port54321, 70, Expected::Nothing},
        ReceiveCase{"Length44From54321", Sender::Port54321, 44, Expected::Nothing},
        ReceiveCase{"Length233From54321", Sender::Port54321, 233, Expected::Nothing},
        ReceiveCase{"OversizeFrom43210", Sender::Port43210, 300, Expected::Nothing},
        ReceiveCase{"OversizeFrom54321", Sender::Port54321, 300, Expected::Nothing},
        ReceiveCase{"HugeFrom54321", Sender::Port54321, 60000, Expected::Nothing},
        ReceiveCase{"Length70FromOtherPort", Sender::OtherPort, 70, Expected::Nothing},
        ReceiveCase{"Length232FromOtherPort", Sender::OtherPort, 232, Expected::Nothing},
        ReceiveCase{"Length44FromOtherPort", Sender::OtherPort, 44, Expected::Nothing},
        ReceiveCase{"Length204FromOtherPort", Sender::OtherPort, 204, Expected::Nothing}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReceiveDatagramTest, ReturnsAtOnceWhenNothingIsQueued) {
    const auto started = std::chrono::steady_clock::now();
    ReceiveDatagram(socket, handOver, buffers);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms);
    EXPECT_TRUE(handOver.Events().empty());
}

}  // namespace
}  // namespace kestrelink
