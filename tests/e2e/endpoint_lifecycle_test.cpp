#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

class EndpointLifecycleTest : public SimulatorTest {};

TEST_F(EndpointLifecycleTest, SecondEndpointOnTheSamePortFailsWithTheBindMessageOnly) {
    const SimulatedDevices devices{1, 1};
    ASSERT_NO_FATAL_FAILURE(StartSimulator(devices));
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(devices.Count()));

    auto secondList = std::make_shared<LockedListHandOver>();
    std::vector<std::string> secondFailures;
    Endpoint second(secondList,
                    [&](std::string_view message) { secondFailures.emplace_back(message); });
    EXPECT_FALSE(second.OpenEndpoint());
    EXPECT_EQ(secondFailures, std::vector<std::string>{std::string(kBindFailedMessage)});
    EXPECT_FALSE(second.HasListener());

    // The first copy keeps working.
    Rediscover();
    EXPECT_TRUE(WaitForRowCount(devices.Count()));
    EXPECT_TRUE(secondList->Rows().empty());
}

TEST_F(EndpointLifecycleTest, CloseWhileIdleReturnsAtOnceAndFreesThePort) {
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(m_endpoint->HasListener());

    const auto started = std::chrono::steady_clock::now();
    m_endpoint->CloseEndpoint();
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::milliseconds(250))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    EXPECT_FALSE(m_endpoint->HasListener());

    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    EXPECT_TRUE(m_reportedFailures.empty()) << ::testing::PrintToString(m_reportedFailures);
}

}  // namespace
}  // namespace kestrelink::testing
