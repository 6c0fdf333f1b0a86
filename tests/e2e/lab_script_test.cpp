#include <net/if.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr const char* kInnerVariable = "KESTRELINK_LAB_INNER";
constexpr SimulatedDevices kDevices{3, 3};

std::string DevicesCommand() {
    std::string command = KESTRELINK_DEVSIM_PATH;
    for (const std::string& argument : kDevices.Arguments()) {
        command += " " + argument;
    }
    return command;
}

class LabScriptTest : public PrivateNetworkTest {};

// Runs this very executable on the lab's program side, where LabInnerTest does the discovery
// across the veth pair.
TEST_F(LabScriptTest, ProgramSideDiscoversTheDeviceSideAcrossTheVethPair) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    ChildProcess lab(KESTRELINK_LAB_SCRIPT,
                     {"--devices", DevicesCommand(), "--", self, "--gtest_filter=LabInnerTest.*"},
                     {std::string(kInnerVariable) + "=1"});
    ASSERT_TRUE(lab.Started());
    const auto status = lab.WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(status) << "the lab did not end";
    EXPECT_EQ(*status, 0) << lab.ErrorText();
    EXPECT_FALSE(lab.WaitForLines("[  PASSED  ] 1 test.", 1, kE2eWait).empty())
        << ::testing::PrintToString(lab.OutputLines());
    // The probes came over the veth from the program side's own address.
    EXPECT_FALSE(lab.WaitForLines("probe 08bits from 10.213.0.1:54320", 1, kE2eWait).empty());
    EXPECT_FALSE(lab.WaitForLines("probe 32bits from 10.213.0.1:54320", 1, kE2eWait).empty());
}

class LabInnerTest : public SimulatorTest {};

TEST_F(LabInnerTest, ListsEveryDeviceOfTheDeviceSide) {
    if (std::getenv(kInnerVariable) == nullptr) {
        GTEST_SKIP() << "runs only on the program side of scripts/lab.sh, started by "
                        "LabScriptTest";
    }
    ASSERT_NE(::if_nametoindex("klp0"), 0u) << "not on the lab's program side";
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));
    EXPECT_EQ(SortedByMac(Rows()), kDevices.ExpectedRows());
}

}  // namespace
}  // namespace kestrelink::testing
