#include "net/arrival_backlog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"

namespace kestrelink {
namespace {

// Device n: IP 10.2.0.<n>, MAC 02:00:00:00:00:<n>, given name "d<n>". Its texts live here, as
// they would in the listener's receive buffer, and go when it does.
struct Heard {
    std::string ip;
    std::string given;
    Arrival arrival;

    explicit Heard(int n) : ip("10.2.0." + std::to_string(n)), given("d" + std::to_string(n)) {
        arrival.announcement.family = DeviceFamily::Bits32;
        arrival.announcement.ipAddressText = ip;
        arrival.announcement.macAddress = {0x02, 0, 0, 0, 0, std::uint8_t(n)};
        arrival.announcement.givenName = given;
    }
};

const Arrival kSetResponse{Arrival::Kind::SetResponse, {}};

std::vector<std::string> GivenNames(const DeviceList& list) {
    std::vector<std::string> names;
    for (int row = 0; row < list.RowCount(); ++row) {
        names.push_back(list.CellText(row, kColumnGivenName));
    }
    return names;
}

TEST(ArrivalBacklogTest, KeptTextsOutliveTheDatagramAndComeOutInOrder) {
    ArrivalBacklog backlog;
    {
        const Heard first(1);
        const Heard second(2);
        backlog.Keep(std::vector{first.arrival, kSetResponse, second.arrival});
    }
    std::vector<KeptArrival> taken;
    EXPECT_FALSE(backlog.TakeOldest(taken, 10));
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].row->Cells()[kColumnIp], "10.2.0.1");
    EXPECT_EQ(taken[0].row->Cells()[kColumnGivenName], "d1");
    EXPECT_EQ(taken[1].kind, Arrival::Kind::SetResponse);
    EXPECT_EQ(taken[2].row->Cells()[kColumnMac], "02:00:00:00:00:02");
}

// The owner is woken once for arrivals that find nothing waiting, and is asked to come back by
// itself while it leaves some behind.
TEST(ArrivalBacklogTest, WakesTheOwnerOnlyWhenNothingWasWaiting) {
    ArrivalBacklog backlog;
    const Heard device(1);
    const std::vector<Arrival> two{device.arrival, device.arrival};
    EXPECT_TRUE(backlog.Keep(two));
    EXPECT_FALSE(backlog.Keep(two));
    std::vector<KeptArrival> taken;
    EXPECT_TRUE(backlog.TakeOldest(taken, 3));
    EXPECT_FALSE(backlog.Keep(two));
    EXPECT_FALSE(backlog.TakeOldest(taken, 3));
    EXPECT_EQ(taken.size(), 6u);
    EXPECT_TRUE(backlog.Keep(two));
}

TEST(ArrivalBacklogTest, WhatDoesNotFitIsCountedAndTheRestKept) {
    ArrivalBacklog backlog(3);
    const Heard first(1);
    const Heard second(2);
    backlog.Keep(std::vector{first.arrival, first.arrival});
    backlog.Keep(std::vector{second.arrival, second.arrival});
    EXPECT_EQ(backlog.Overflowed(), 1u);
    std::vector<KeptArrival> taken;
    backlog.TakeOldest(taken, 10);
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[2].row->Cells()[kColumnGivenName], "d2");
}

// Taken in from the backlog, the arrivals leave the list as taking them one by one would: the
// second announcement of a MAC replaces its row, a listed IP is refused, set responses are shown.
TEST(TakeInBacklogTest, GivesTheRowsOfTakingInOneByOne) {
    ArrivalBacklog backlog;
    Heard first(1);
    Heard second(2);
    Heard sameIpAsFirst(3);
    sameIpAsFirst.ip = first.ip;
    sameIpAsFirst.arrival.announcement.ipAddressText = sameIpAsFirst.ip;
    const std::vector<Arrival> arrivals{first.arrival, second.arrival, kSetResponse,
                                        sameIpAsFirst.arrival, first.arrival};
    for (int round = 0; round < 300; ++round) {
        backlog.Keep(arrivals);
    }
    DeviceList batched;
    int setResponses = 0;
    const auto past = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    EXPECT_TRUE(TakeInBacklog(
        backlog, batched, [&] { ++setResponses; }, past));
    EXPECT_FALSE(TakeInBacklog(
        backlog, batched, [&] { ++setResponses; }, std::chrono::steady_clock::time_point::max()));

    DeviceList oneByOne;
    for (int round = 0; round < 300; ++round) {
        for (const Arrival& arrival : arrivals) {
            if (arrival.kind == Arrival::Kind::Announcement) {
                TakeInAnnouncement(oneByOne, arrival.announcement);
            }
        }
    }
    EXPECT_EQ(GivenNames(batched), GivenNames(oneByOne));
    EXPECT_EQ(GivenNames(batched), (std::vector<std::string>{"d1", "d2"}));
    EXPECT_EQ(setResponses, 300);
}

}  // namespace
}  // namespace kestrelink
