#include "behaviour/repaint_pacer.h"

#include <gtest/gtest.h>

namespace kestrelink {
namespace {

using namespace std::chrono_literals;

struct Step {
    const char* what;
    std::chrono::microseconds at;    // since the first change
    bool release;                    // the face lets a held repaint go at this time
    std::chrono::milliseconds hold;  // what HoldFor says of a change at this time
};

// Changes 1 ms apart, with a period of 40 ms.
constexpr Step kSteps[] = {
    {"the first change repaints at once", 0us, false, 0ms},
    {"the next is held to the end of the period", 1000us, false, 39ms},
    {"a part of a millisecond is held a whole one", 39500us, false, 1ms},
    {"the period ends: at once again", 40000us, false, 0ms},
    {"held from the last repaint", 41000us, false, 39ms},
    {"a release starts a new period", 79000us, true, 40ms},
    {"a quiet spell after it: at once", 200000us, false, 0ms},
};

TEST(RepaintPacerTest, AtOnceAfterAQuietSpellThenOncePerPeriod) {
    RepaintPacer pacer(40ms);
    const RepaintPacer::Clock::time_point start = RepaintPacer::Clock::now();
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.what);
        if (step.release) {
            pacer.Released(start + step.at);
        }
        EXPECT_EQ(pacer.HoldFor(start + step.at), step.hold);
    }
}

}  // namespace
}  // namespace kestrelink
