#include "provisioning/request_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink::provisioning {
namespace {

using std::chrono::microseconds;
using Clock = RequestPacer::Clock;

TEST(RequestPacerTest, ABurstAtOnceThenOneRequestPerInterval) {
    RequestPacer pacer({1000, 3});  // one per millisecond after three at once
    const Clock::time_point start{std::chrono::hours(1)};
    std::vector<microseconds> slots;
    for (int k = 0; k < 5; ++k) {
        slots.push_back(std::chrono::duration_cast<microseconds>(pacer.NextSlot(start) - start));
    }
    EXPECT_EQ(slots, (std::vector<microseconds>{microseconds(0), microseconds(0), microseconds(0),
                                                microseconds(1000), microseconds(2000)}));
    // After a pause the allowance is back, but no more than a burst's worth.
    const Clock::time_point later = start + std::chrono::seconds(1);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(pacer.NextSlot(later), later);
    }
    EXPECT_EQ(pacer.NextSlot(later), later + microseconds(1000));
}

}  // namespace
}  // namespace kestrelink::provisioning
