#include "faces/win32/after_pending_calls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "behaviour/posted_calls.h"

namespace kestrelink::win32 {
namespace {

struct WaitCase {
    int waitMs;
    bool posted;  // rather than timed
};

void PrintTo(const WaitCase& c, std::ostream* os) {
    *os << c.waitMs << " ms";
}

class AfterPendingCallsTest : public ::testing::TestWithParam<WaitCase> {};

// A timer would fire a whole system tick later: a call that waits for nothing is posted.
TEST_P(AfterPendingCallsTest, OnlyACallThatWaitsForNothingIsPosted) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PostedCalls posted([] { return true; });
    AfterPendingCalls calls(window, 1, posted);
    bool ran = false;

    calls.Add(std::chrono::milliseconds(GetParam().waitMs), [&] { ran = true; });

    EXPECT_EQ(!posted.Empty(), GetParam().posted);
    if (GetParam().posted) {
        posted.RunOldest();
    } else {
        calls.RunDue();
    }
    EXPECT_TRUE(ran);
    calls.Stop();
    DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Waits, AfterPendingCallsTest,
                         ::testing::Values(WaitCase{0, true}, WaitCase{1, false},
                                           WaitCase{8, false}, WaitCase{48, false}));

}  // namespace
}  // namespace kestrelink::win32
