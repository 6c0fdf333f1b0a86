#include "net/watch_rounds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrelink {
namespace {

using std::chrono::seconds;
const WatchRounds::Time kStart{seconds(1000)};

RowCells Device(const char* mac, const char* ip) {
    return {ip, mac, "ED-1", "name", "1.0", "7", "32bits"};
}

std::string Text(const WatchEvent& event) {
    constexpr const char* kKinds[] = {"appeared", "changed", "vanished", "returned"};
    return std::string(kKinds[static_cast<int>(event.kind)]) + " " + event.device[kColumnMac] +
           " " + event.device[kColumnIp] + " was " + event.was[kColumnIp];
}

// Each round: the devices heard, by MAC and IP; the events heard and ended make, in order.
struct Round {
    std::vector<std::pair<const char*, const char*>> heard;
    std::vector<std::string> events;
};

TEST(WatchRoundsTest, EachEventOnceWhenItHappens) {
    WatchRounds rounds(2);
    rounds.Know(Device("02:00:00:00:00:09", "10.0.0.9"), kStart);
    const std::vector<Round> script = {
        {{{"02:00:00:00:00:01", "10.0.0.1"},
          {"02:00:00:00:00:02", "10.0.0.2"},
          {"02:00:00:00:00:09", "10.0.0.9"}},
         {"appeared 02:00:00:00:00:01 10.0.0.1 was ", "appeared 02:00:00:00:00:02 10.0.0.2 was "}},
        {{{"02:00:00:00:00:01", "10.0.0.5"}, {"02:00:00:00:00:01", "10.0.0.5"}},
         {"changed 02:00:00:00:00:01 10.0.0.5 was 10.0.0.1"}},
        {{{"02:00:00:00:00:01", "10.0.0.5"}},
         {"vanished 02:00:00:00:00:02 10.0.0.2 was ", "vanished 02:00:00:00:00:09 10.0.0.9 was "}},
        {{{"02:00:00:00:00:01", "10.0.0.5"}}, {}},
        {{{"02:00:00:00:00:02", "10.0.0.3"}, {"02:00:00:00:00:01", "10.0.0.5"}},
         {"returned 02:00:00:00:00:02 10.0.0.3 was 10.0.0.2"}},
    };
    for (std::size_t i = 0; i < script.size(); ++i) {
        const WatchRounds::Time at = kStart + seconds(15 * static_cast<int>(i));
        std::vector<std::string> events;
        for (const auto& [mac, ip] : script[i].heard) {
            if (auto event = rounds.Heard(Device(mac, ip), at)) {
                events.push_back(Text(*event));
            }
        }
        for (const WatchEvent& event : rounds.EndRound(at)) {
            EXPECT_EQ(event.time, at);
            events.push_back(Text(event));
        }
        EXPECT_EQ(events, script[i].events) << "round " << i;
    }
    const WatchRounds::Standing* nine = rounds.Find("02:00:00:00:00:09");
    ASSERT_NE(nine, nullptr);
    EXPECT_EQ(nine->missedRounds, 4);
    EXPECT_TRUE(nine->vanished);
    EXPECT_EQ(nine->lastHeard, kStart + seconds(0));
    const WatchRounds::Standing* two = rounds.Find("02:00:00:00:00:02");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->missedRounds, 0);
    EXPECT_FALSE(two->vanished);
    EXPECT_EQ(two->lastHeard, kStart + seconds(60));
    EXPECT_EQ(rounds.Find("02:00:00:00:00:07"), nullptr);
}

}  // namespace
}  // namespace kestrelink
