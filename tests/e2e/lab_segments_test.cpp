#include <net/if.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "net/config_sender.h"
#include "net/interfaces.h"
#include "net/subnet.h"
#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr const char* kInnerVariable = "KESTRELINK_LAB_INNER";
constexpr const char* kLogsVariable = "KESTRELINK_LAB_LOGS";

// Segment 0 holds the default route and devices inside its network, 10.213.0.0/24. The devices
// behind segment 1 (10.214.0.0/24) still have their factory settings, 192.168.1.x. Segment 2 is
// plugged in while the program runs.
constexpr SimulatedDevices kSegment0{2, 2, 0x026b6c000100, 0x0AD5000B};  // from 10.213.0.11
constexpr SimulatedDevices kSegment1{1, 2, 0x026b6c000200, 0xC0A80114};  // from 192.168.1.20
constexpr SimulatedDevices kSegment2{1, 1, 0x026b6c000300, 0x0AD7000B};  // from 10.215.0.11

std::string LogPath(int segment) {
    return std::string(std::getenv(kLogsVariable)) + "/segment" + std::to_string(segment) + ".log";
}

// The simulator's report goes to a file of the segment's own, which the program side reads.
std::string DevicesCommand(const SimulatedDevices& devices, const std::string& log) {
    std::string command = std::string("exec ") + KESTRELINK_DEVSIM_PATH;
    for (const std::string& argument : devices.Arguments()) {
        command += " " + argument;
    }
    return command + " >" + log;
}

std::size_t CountLogLines(const std::string& path, std::string_view text) {
    std::ifstream log(path);
    std::size_t count = 0;
    for (std::string line; std::getline(log, line);) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

// Polls, as the simulator writes the file from another namespace; true once count lines hold text.
bool WaitForLogLines(const std::string& path, std::string_view text, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + kE2eWait;
    while (CountLogLines(path, text) < count) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class LabSegmentsTest : public PrivateNetworkTest {};

// Runs this very executable on the program side of a two-segment lab, where LabSegmentsInnerTest
// does the work.
TEST_F(LabSegmentsTest, EverySegmentIsProbedListedAndConfigured) {
    char logs[] = "/tmp/kestrelink-segments-XXXXXX";
    ASSERT_NE(::mkdtemp(logs), nullptr);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    ChildProcess lab(KESTRELINK_LAB_SCRIPT,
                     {"--devices", DevicesCommand(kSegment0, std::string(logs) + "/segment0.log"),
                      "--devices", DevicesCommand(kSegment1, std::string(logs) + "/segment1.log"),
                      "--", self, "--gtest_filter=LabSegmentsInnerTest.*"},
                     {std::string(kInnerVariable) + "=1", std::string(kLogsVariable) + "=" + logs});
    ASSERT_TRUE(lab.Started());
    const auto status = lab.WaitForExit(std::chrono::seconds(60));
    ASSERT_TRUE(status) << "the lab did not end";
    EXPECT_EQ(*status, 0) << lab.ErrorText() << ::testing::PrintToString(lab.OutputLines());
    EXPECT_FALSE(lab.WaitForLines("[  PASSED  ] 3 tests.", 1, kE2eWait).empty())
        << ::testing::PrintToString(lab.OutputLines());
    std::filesystem::remove_all(logs);
}

struct HeardRow {
    DeviceRow cells;
    std::string heardOn;  // empty: on no probed interface
    bool outside = false;
};

class LabSegmentsInnerTest : public SimulatorTest {
protected:
    void SetUp() override {
        if (std::getenv(kInnerVariable) == nullptr) {
            GTEST_SKIP() << "runs only on the program side of scripts/lab.sh, started by "
                            "LabSegmentsTest";
        }
        SimulatorTest::SetUp();
        ASSERT_NE(::if_nametoindex("klp1"), 0u) << "not on the program side of two segments";
        for (int segment = 0; segment < 3; ++segment) {
            m_probesBefore[segment] = Probes(segment);
        }
    }

    struct ProbeCount {
        std::size_t probe08 = 0;
        std::size_t probe32 = 0;
        bool operator==(const ProbeCount&) const = default;
    };
    static ProbeCount Probes(int segment) {
        return {CountLogLines(LogPath(segment), "probe 08bits"),
                CountLogLines(LogPath(segment), "probe 32bits")};
    }
    // The segment has had exactly pairs probe pairs since the test began.
    void ExpectProbePairs(int segment, std::size_t pairs) {
        SCOPED_TRACE("segment " + std::to_string(segment));
        const ProbeCount before = m_probesBefore[segment];
        EXPECT_TRUE(WaitForLogLines(LogPath(segment), "probe 32bits", before.probe32 + pairs));
        EXPECT_EQ(Probes(segment), (ProbeCount{before.probe08 + pairs, before.probe32 + pairs}));
    }

    std::vector<HeardRow> HeardRows() {
        std::vector<HeardRow> rows;
        m_list->WithList([&rows](DeviceList& list) {
            for (int row = 0; row < list.RowCount(); ++row) {
                HeardRow heard;
                for (int column = 0; column < kColumnCount; ++column) {
                    heard.cells[static_cast<std::size_t>(column)] = list.CellText(row, column);
                }
                if (const NetworkInterface* heardOn = list.HeardOn(row)) {
                    heard.heardOn = heardOn->name;
                    heard.outside = IsOutsideNetwork(heard.cells[kColumnIp], *heardOn);
                }
                rows.push_back(heard);
            }
        });
        return rows;
    }

    // Every device of devices is listed, heard on the interface, inside its network or not.
    void ExpectListed(const SimulatedDevices& devices, const std::string& heardOn, bool outside) {
        const std::vector<HeardRow> rows = HeardRows();
        for (const DeviceRow& expected : devices.ExpectedRows()) {
            const auto found = std::find_if(rows.begin(), rows.end(), [&](const HeardRow& row) {
                return row.cells == expected;
            });
            ASSERT_NE(found, rows.end()) << expected[kColumnMac] << " not listed";
            EXPECT_EQ(found->heardOn, heardOn) << expected[kColumnMac];
            EXPECT_EQ(found->outside, outside) << expected[kColumnMac];
        }
    }

    ProbeCount m_probesBefore[3];
};

TEST_F(LabSegmentsInnerTest, EachSegmentGetsOneProbePairAtStartUpAndAtEachDiscover) {
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    for (std::size_t pairs = 1; pairs <= 2; ++pairs) {
        SCOPED_TRACE(pairs == 1 ? "start-up" : "Discover");
        if (pairs == 2) {
            Rediscover();
        }
        ASSERT_TRUE(WaitForRowCount(kSegment0.Count() + kSegment1.Count()));
        ExpectListed(kSegment0, "klp0", false);
        ExpectListed(kSegment1, "klp1", true);
        ExpectProbePairs(0, pairs);
        ExpectProbePairs(1, pairs);
    }
}

// The request leaves by the interface the device was heard on, and only by that one while it is
// there; by every interface once it is gone.
TEST_F(LabSegmentsInnerTest, ConfigurationReachesADeviceOnTheSecondSegment) {
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(kSegment0.Count() + kSegment1.Count()));
    const DeviceRow target = kSegment1.ExpectedRow(2);
    const std::vector<HeardRow> before = HeardRows();
    const auto listed = std::find_if(before.begin(), before.end(),
                                     [&](const HeardRow& row) { return row.cells == target; });
    ASSERT_NE(listed, before.end());
    ASSERT_EQ(listed->heardOn, "klp1");

    const struct {
        const char* heardOn;
        std::uint32_t ip;
        const char* listedIp;
        bool reachesSegment0;
    } requests[] = {{"klp1", 0x0AD60032, "10.214.0.50", false},
                    {"klp9", 0x0AD60033, "10.214.0.51", true}};  // unplugged since
    std::size_t sent = 0;
    for (const auto& request : requests) {
        SCOPED_TRACE(request.heardOn);
        ++sent;
        // Into its segment's network, where its web page can be reached.
        ASSERT_TRUE(SendConfigRequest(*m_endpoint,
                                      {.macText = target[kColumnMac],
                                       .archText = target[kColumnArch],
                                       .heardOn = request.heardOn},
                                      StaticSettings(request.ip, "moved-in")));
        EXPECT_TRUE(WaitForLogLines(LogPath(1), "applied 32bits " + target[kColumnMac], sent));

        Rediscover();
        ASSERT_TRUE(WaitForRowCount(kSegment0.Count() + kSegment1.Count()));
        // By now segment 0 has answered a probe pair sent after the request.
        if (request.reachesSegment0) {
            EXPECT_TRUE(WaitForLogLines(LogPath(0), "ignored 32bits " + target[kColumnMac], 1));
        } else {
            EXPECT_EQ(CountLogLines(LogPath(0), target[kColumnMac]), 0u);
        }
        const std::vector<HeardRow> after = HeardRows();
        const auto moved = std::find_if(after.begin(), after.end(), [&](const HeardRow& row) {
            return row.cells[kColumnMac] == target[kColumnMac];
        });
        ASSERT_NE(moved, after.end());
        EXPECT_EQ(moved->cells[kColumnIp], request.listedIp);
        EXPECT_EQ(moved->cells[kColumnGivenName], "moved-in");
        EXPECT_EQ(moved->heardOn, "klp1");
        EXPECT_FALSE(moved->outside);
    }
}

TEST_F(LabSegmentsInnerTest, AnInterfacePluggedInAfterStartUpIsProbedAtTheNextDiscover) {
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(kSegment0.Count() + kSegment1.Count()));
    ChildProcess plugged(KESTRELINK_LAB_SCRIPT,
                         {"--add-segment", "--devices", DevicesCommand(kSegment2, LogPath(2))});
    ASSERT_TRUE(plugged.Started());
    ASSERT_TRUE(plugged.WaitForLine("segment klp2 ready", kE2eWait)) << plugged.ErrorText();

    Rediscover();
    ASSERT_TRUE(WaitForRowCount(kSegment0.Count() + kSegment1.Count() + kSegment2.Count()));
    ExpectListed(kSegment2, "klp2", false);
    ExpectProbePairs(0, 2);
    ExpectProbePairs(1, 2);
    ExpectProbePairs(2, 1);
}

}  // namespace
}  // namespace kestrelink::testing
