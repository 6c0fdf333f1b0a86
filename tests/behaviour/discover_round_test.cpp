#include "behaviour/discover_round.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/behaviour/support/recording_face.h"

namespace kestrelink {
namespace {

using testing::RecordingFace;

// Until the waiting thread has posted, for as long as a loaded machine may take.
bool WaitForPost(RecordingFace& face) {
    for (int step = 0; step < 5000 && !face.HasPosted(); ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return face.HasPosted();
}

TEST(DiscoverRoundTest, EndsEachRoundOnceAndDropsTheEndOfARoundBegunAnew) {
    RecordingFace face;
    int ended = 0;
    DiscoverRound round(face, std::chrono::milliseconds(0), [&ended] { ++ended; });
    round.Begin();
    ASSERT_TRUE(WaitForPost(face));
    round.Begin();  // the first round's end is already posted, and comes too late
    // The second round's end may be posted meanwhile: only the first one runs here.
    ASSERT_TRUE(face.RunOldestPosted());
    EXPECT_EQ(ended, 0);
    ASSERT_TRUE(WaitForPost(face));
    face.RunPosted();
    EXPECT_EQ(ended, 1);
}

TEST(DiscoverRoundTest, AnEndPostedBeforeItsRoundWentIsDropped) {
    RecordingFace face;
    int ended = 0;
    {
        DiscoverRound round(face, std::chrono::milliseconds(0), [&ended] { ++ended; });
        round.Begin();
        ASSERT_TRUE(WaitForPost(face));
    }
    face.RunPosted();
    EXPECT_EQ(ended, 0);
}

}  // namespace
}  // namespace kestrelink
