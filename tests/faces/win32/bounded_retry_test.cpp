#include "faces/win32/bounded_retry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink::win32 {
namespace {

using std::chrono::milliseconds;

struct RetryCase {
    const char* name;
    int failuresFirst;  // then the attempt succeeds
    bool momentary;
    int tries;
    bool succeeded;
    int attempts;
    int pauses;  // each of the budget's 25 ms
};

class BoundedRetryTest : public ::testing::TestWithParam<RetryCase> {};

TEST_P(BoundedRetryTest, TriesUntilSuccessALastingRefusalOrTheBudgetIsSpent) {
    const RetryCase& c = GetParam();
    int attempts = 0;
    std::vector<milliseconds> pauses;
    const bool succeeded = RetryWhileMomentary(
        {c.tries, milliseconds(25)}, [&] { return ++attempts > c.failuresFirst; },
        [&] { return c.momentary; }, [&](milliseconds pause) { pauses.push_back(pause); });
    EXPECT_EQ(succeeded, c.succeeded);
    EXPECT_EQ(attempts, c.attempts);
    EXPECT_EQ(pauses,
              std::vector<milliseconds>(static_cast<std::size_t>(c.pauses), milliseconds(25)));
}

INSTANTIATE_TEST_SUITE_P(Cases, BoundedRetryTest,
                         ::testing::Values(RetryCase{"AtOnce", 0, true, 5, true, 1, 0},
                                           RetryCase{"OnTheThirdTry", 2, true, 5, true, 3, 2},
                                           RetryCase{"BudgetSpent", 99, true, 4, false, 4, 3},
                                           RetryCase{"LastingRefusal", 99, false, 4, false, 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrelink::win32
