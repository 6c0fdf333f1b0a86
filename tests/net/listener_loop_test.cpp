#include "net/listener_loop.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestrelink {
namespace {

using enum WakeReason;

struct LoopCase {
    const char* name;
    std::vector<WakeReason> wakes;  // what the waits return, in order
    std::size_t waitsTaken;
    int reads;
};

void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class ListenUntilStoppedTest : public ::testing::TestWithParam<LoopCase> {};

TEST_P(ListenUntilStoppedTest, EndsOnStopOrOnFiveFailuresInARow) {
    const LoopCase& c = GetParam();
    std::size_t waits = 0;
    int reads = 0;
    // Past its script a wait reports the stop and still counts, so that an overrun shows.
    ListenUntilStopped([&] { return waits < c.wakes.size() ? c.wakes[waits++] : (++waits, Stop); },
                       [&] { ++reads; });
    EXPECT_EQ(waits, c.waitsTaken);
    EXPECT_EQ(reads, c.reads);
}

INSTANTIATE_TEST_SUITE_P(
    Wakes, ListenUntilStoppedTest,
    ::testing::Values(
        LoopCase{"StopEndsAtOnce", {Stop, Readable}, 1, 0},
        LoopCase{"EachReadableWakeReadsOne", {Readable, Readable, Stop}, 3, 2},
        LoopCase{"FourFailuresInARowAreWaitedOutTwice",
                 {Failed, Failed, Failed, Failed, Readable, Failed, Failed, Failed, Failed, Stop},
                 10,
                 1},
        LoopCase{
            "FiveFailuresInARowEndIt", {Failed, Failed, Failed, Failed, Failed, Readable}, 5, 0}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
