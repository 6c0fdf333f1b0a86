#include "net/listener_loop.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestrelink {
namespace {

using Wakes = std::vector<WakeReason>;

Wakes operator+(Wakes first, const Wakes& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

Wakes Failures(int count) {
    return Wakes(static_cast<std::size_t>(count), WakeReason::Failed);
}

const Wakes kStop{WakeReason::Stop};
const Wakes kReadable{WakeReason::Readable};

struct LoopCase {
    const char* name;
    Wakes wakes;  // what the waits return, in order
    std::size_t waitsTaken;
    int reads;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class ListenUntilStoppedTest : public ::testing::TestWithParam<LoopCase> {};

TEST_P(ListenUntilStoppedTest, EndsOnStopOrOnFailuresInARow) {
    const LoopCase& c = GetParam();
    std::size_t waits = 0;
    int reads = 0;
    ListenUntilStopped(
        [&] { return waits < c.wakes.size() ? c.wakes[waits++] : (++waits, WakeReason::Stop); },
        [&] { ++reads; });
    EXPECT_EQ(waits, c.waitsTaken);
    EXPECT_EQ(reads, c.reads);
}

constexpr int kLimit = kWaitFailuresInRow;

INSTANTIATE_TEST_SUITE_P(
    Wakes, ListenUntilStoppedTest,
    ::testing::Values(LoopCase{"StopEndsAtOnce", kStop + kReadable, 1, 0},
                      LoopCase{"EachReadableWakeReadsOne", kReadable + kReadable + kStop, 3, 2},
                      LoopCase{"FailuresShortOfTheLimitAreWaitedOut",
                               Failures(kLimit - 1) + kReadable + Failures(kLimit - 1) + kStop,
                               2 * kLimit, 1},
                      LoopCase{"FailuresInARowEndIt", Failures(kLimit) + kReadable, kLimit, 0}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
