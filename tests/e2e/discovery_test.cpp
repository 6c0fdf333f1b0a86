#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

struct DiscoveryCase {
    const char* name;
    SimulatedDevices devices;
    std::vector<std::string> timing;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const DiscoveryCase& c, std::ostream* os) {
    *os << c.name;
}

class DiscoveryTest : public SimulatorTest, public ::testing::WithParamInterface<DiscoveryCase> {};

TEST_P(DiscoveryTest, EveryDeviceIsListedAfterOpeningWithoutAnyUserAction) {
    const DiscoveryCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartSimulator(c.devices, c.timing));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());

    ASSERT_TRUE(WaitForRowCount(c.devices.Count()))
        << Rows().size() << " of " << c.devices.Count() << " devices listed";
    EXPECT_EQ(SortedByMac(Rows()), c.devices.ExpectedRows());
    EXPECT_EQ(m_simulator->WaitForLines("probe 08bits", 1, kE2eWait).size(), 1u);
    EXPECT_EQ(m_simulator->WaitForLines("probe 32bits", 1, kE2eWait).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DiscoveryTest,
    ::testing::Values(DiscoveryCase{"BothFamiliesAtOnce", {3, 3}, {}},
                      DiscoveryCase{"HundredsInABurst", {300, 300}, {"--burst"}},
                      DiscoveryCase{"HundredsJittered", {300, 300}, {"--jitter", "200"}}),
    [](const auto& info) { return info.param.name; });

class RediscoveryTest : public SimulatorTest {};

TEST_F(RediscoveryTest, EmptiesTheListAndRefillsItFromAFreshProbePair) {
    const SimulatedDevices devices{2, 2};
    ASSERT_NO_FATAL_FAILURE(StartSimulator(devices));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(devices.Count()));

    for (std::size_t round = 2; round <= 3; ++round) {
        m_window->OnDiscover();
        // Nothing the listener hands over is taken in before this thread runs it.
        EXPECT_EQ(m_list.RowCount(), 0) << "round " << round;
        ASSERT_TRUE(WaitForRowCount(devices.Count())) << "round " << round;
        EXPECT_EQ(SortedByMac(Rows()), devices.ExpectedRows());
        // One probe pair per round: the list refilled from new answers, not from old ones.
        EXPECT_EQ(m_simulator->WaitForLines("probe 08bits", round, kE2eWait).size(), round);
        EXPECT_EQ(m_simulator->WaitForLines("probe 32bits", round, kE2eWait).size(), round);
    }
}

class EmptyRoundTest : public SimulatorTest {};

// Loopback alone is up in the test's network, and nothing answers until the simulator starts.
TEST_F(EmptyRoundTest, TheCountSaysSoWhenNoDeviceAnsweredAndForgetsItAtTheNextDiscover) {
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    const CountLabel expected{"No device answered", "No network was probed: no adapter is up."};
    ASSERT_TRUE(WaitUntil([this, &expected](const DeviceList&) {
        return !m_face.emptyRounds.empty() && m_face.emptyRounds.back() == expected;
    }));

    const SimulatedDevices devices{1, 1};
    ASSERT_NO_FATAL_FAILURE(StartSimulator(devices));
    m_window->OnDiscover();
    EXPECT_EQ(m_face.emptyRounds.back(), std::nullopt);
    ASSERT_TRUE(WaitForRowCount(devices.Count()));
}

}  // namespace
}  // namespace kestrelink::testing
