#include "behaviour/posted_calls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kestrelink;

namespace {

// Notes in trace when it runs ("run <name>") and when it is destroyed unrun ("drop <name>").
struct NotedCall {
    std::shared_ptr<std::string> trace;
    std::string name;
    bool ran = false;

    ~NotedCall() {
        if (!ran) {
            *trace += "drop " + name + ";";
        }
    }
};

std::function<void()> Noted(const std::shared_ptr<std::string>& trace, std::string name) {
    auto call = std::make_shared<NotedCall>();
    call->trace = trace;
    call->name = std::move(name);
    return [call] {
        call->ran = true;
        *call->trace += "run " + call->name + ";";
    };
}

struct PostedCallsTest : ::testing::Test {
    std::shared_ptr<std::string> trace = std::make_shared<std::string>();
    int wakes = 0;
    bool wakeWorks = true;
    PostedCalls calls{[this] {
        ++wakes;
        return wakeWorks;
    }};
};

TEST_F(PostedCallsTest, OneWakeForEachCallAndOneCallForEachRunInTheOrderPosted) {
    calls.Post(Noted(trace, "a"));
    calls.Post(Noted(trace, "b"));
    EXPECT_EQ(wakes, 2);
    EXPECT_FALSE(calls.Empty());
    EXPECT_TRUE(calls.RunOldest());
    EXPECT_EQ(*trace, "run a;");
    EXPECT_TRUE(calls.RunOldest());
    EXPECT_FALSE(calls.RunOldest());
    EXPECT_TRUE(calls.Empty());
    EXPECT_EQ(*trace, "run a;run b;");
}

TEST_F(PostedCallsTest, ACallPostedWhileOneRunsWaitsBehindThoseBeforeIt) {
    calls.Post([this] { calls.Post(Noted(trace, "posted while running")); });
    calls.Post(Noted(trace, "second"));
    EXPECT_TRUE(calls.RunOldest());
    EXPECT_EQ(*trace, "");
    calls.RunOldest();
    calls.RunOldest();
    EXPECT_EQ(*trace, "run second;run posted while running;");
}

TEST_F(PostedCallsTest, ACallThatCannotWakeTheThreadIsDroppedAtOnceAndTheOthersStay) {
    calls.Post(Noted(trace, "a"));
    wakeWorks = false;
    calls.Post(Noted(trace, "unannounced"));
    EXPECT_EQ(*trace, "drop unannounced;");
    EXPECT_TRUE(calls.RunOldest());
    EXPECT_FALSE(calls.RunOldest());
    EXPECT_EQ(*trace, "drop unannounced;run a;");
}

TEST_F(PostedCallsTest, ClosingDropsTheWaitingCallsAndEveryLaterOneUnannounced) {
    calls.Post(Noted(trace, "waiting"));
    calls.Close();
    EXPECT_EQ(*trace, "drop waiting;");
    calls.Post(Noted(trace, "late"));
    EXPECT_EQ(*trace, "drop waiting;drop late;");
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(calls.RunOldest());
}

}  // namespace
