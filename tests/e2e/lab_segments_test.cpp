#include <net/if.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "net/config_sender.h"
#include "net/endpoint.h"
#include "net/subnet.h"
#include "tests/e2e/simulator_fixture.h"
#include "tests/support/recording_hand_over.h"

namespace kestrelink::testing {
namespace {

constexpr const char* kInnerVariable = "KESTRELINK_LAB_INNER";

// Segment 0 holds the default route and devices inside its network, 10.213.0.0/24. The devices
// behind segment 1 (10.214.0.0/24) still have their factory addresses, 192.168.1.x. Segment 2
// (10.215.0.0/24) is plugged in while the program runs.
constexpr SimulatedDevices kSegments[] = {{2, 2, 0x026b6c000100, 0x0AD5000B},
                                          {1, 2, 0x026b6c000200, 0xC0A80114},
                                          {1, 1, 0x026b6c000300, 0x0AD7000B}};
// The device behind segment 1 that is given an address in that segment's network.
std::string MovedMac() {
    return kSegments[1].ExpectedRow(2)[kColumnMac];  // a 32bits device
}

std::string DevicesCommand(int segment) {
    std::string command = std::string("exec ") + KESTRELINK_DEVSIM_PATH;
    for (const std::string& argument : kSegments[segment].Arguments()) {
        command += " " + argument;
    }
    return command;
}

std::size_t CountLines(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const auto& line) { return line.find(text) != std::string::npos; }));
}

// The row's cells as the start of a discover --format csv line: texts without commas or quotes.
std::string CsvCells(const DeviceRow& row) {
    std::string csv;
    for (const std::string& cell : row) {
        csv += cell + ",";
    }
    return csv;
}

// What both sides of a lab printed, once the program given in arguments has ended; a failure
// unless it ended with status 0.
std::vector<std::string> LabLines(const std::vector<std::string>& arguments) {
    ChildProcess lab(KESTRELINK_LAB_SCRIPT, arguments);
    const auto status = lab.WaitForExit(std::chrono::seconds(60));
    const std::vector<std::string> lines = lab.OutputLines();
    EXPECT_EQ(status, std::optional<int>(0)) << lab.ErrorText() << ::testing::PrintToString(lines);
    return lines;
}

class LabSegmentsTest : public PrivateNetworkTest {};

// Runs this very executable on the program side of a two-segment lab, where LabSegmentsInnerTest
// does the work; the simulators' reports show what reached each segment.
TEST_F(LabSegmentsTest, EachSegmentGetsOneProbePairPerDiscoveryAndOnlyItsRequests) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    ChildProcess lab(KESTRELINK_LAB_SCRIPT,
                     {"--devices", DevicesCommand(0), "--devices", DevicesCommand(1), "--", self,
                      "--gtest_filter=LabSegmentsInnerTest.*"},
                     {std::string(kInnerVariable) + "=1"});
    ASSERT_TRUE(lab.Started());
    const auto status = lab.WaitForExit(std::chrono::seconds(60));
    ASSERT_TRUE(status) << "the lab did not end";
    const std::vector<std::string> lines = lab.OutputLines();
    EXPECT_EQ(*status, 0) << lab.ErrorText() << ::testing::PrintToString(lines);
    EXPECT_EQ(CountLines(lines, "[  PASSED  ] 1 test."), 1u);
    // Three start-ups and three Discovers, each listing every device of both segments: one
    // probe of each family per discovery, from the segment's own address.
    for (const std::string segment : {"10.213.0.1:", "10.214.0.1:"}) {
        EXPECT_EQ(CountLines(lines, "probe 08bits from " + segment), 6u) << segment;
        EXPECT_EQ(CountLines(lines, "probe 32bits from " + segment), 6u) << segment;
    }
    // Both requests reached segment 1, and only the second, sent when the device's interface
    // was gone, reached segment 0 as well.
    EXPECT_EQ(CountLines(lines, "applied 32bits " + MovedMac()), 2u);
    EXPECT_EQ(CountLines(lines, "ignored 32bits " + MovedMac()), 1u);
}

// --interface probes and listens on the named segment alone: the other segment hears no probe,
// and only the named segment's devices are listed, as heard on it.
TEST_F(LabSegmentsTest, CliDiscoveryOnOneInterfaceReachesThatSegmentAlone) {
    const std::vector<std::string> lines =
        LabLines({"--devices", DevicesCommand(0), "--devices", DevicesCommand(1), "--",
                  KESTRELINK_CLI_PATH, "discover", "--interface", "klp1", "--format", "csv"});
    for (const DeviceRow& row : kSegments[1].ExpectedRows()) {
        const std::string csv = CsvCells(row);
        EXPECT_EQ(CountLines(lines, csv + "klp1,false"), 1u) << csv;
    }
    for (const DeviceRow& row : kSegments[0].ExpectedRows()) {
        EXPECT_EQ(CountLines(lines, row[kColumnMac]), 0u) << row[kColumnMac];
    }
    EXPECT_EQ(CountLines(lines, "probe 08bits from 10.214.0.1:"), 1u);
    EXPECT_EQ(CountLines(lines, "probe 32bits from 10.214.0.1:"), 1u);
    EXPECT_EQ(CountLines(lines, "probe 08bits from 10.213.0.1:"), 0u);
    EXPECT_EQ(CountLines(lines, "probe 32bits from 10.213.0.1:"), 0u);
}

// The devices behind segment 1 keep their factory addresses, outside the program side's network,
// until its port holds an address in their network beside its own.
TEST_F(LabSegmentsTest, CliCountsEveryAddressOfTheInterfaceForOutside) {
    const std::vector<std::string> lines = LabLines(
        {"--devices", DevicesCommand(1), "--", "/bin/sh", "-c",
         "ip addr add 192.168.1.1/24 dev klp0 && exec \"$0\" discover --format csv --expect 3",
         KESTRELINK_CLI_PATH});
    for (const DeviceRow& row : kSegments[1].ExpectedRows()) {
        const std::string csv = CsvCells(row);
        EXPECT_EQ(CountLines(lines, csv + "klp0,false,false"), 1u) << csv;
    }
}

class LabSegmentsInnerTest : public SimulatorTest {
protected:
    void SetUp() override {
        if (std::getenv(kInnerVariable) == nullptr) {
            GTEST_SKIP() << "runs only on the program side of scripts/lab.sh, started by "
                            "LabSegmentsTest";
        }
        SimulatorTest::SetUp();
    }

    // The listed row of mac, the interface it was heard on, and whether its address lies
    // outside that interface's network.
    struct Heard {
        DeviceRow cells;
        std::string on;
        bool outside = false;
    };
    Heard HeardOf(const std::string& mac) const {
        Heard heard;
        for (int row = 0; row < m_list.RowCount(); ++row) {
            const NetworkInterface* on = m_list.HeardOn(row);
            if (m_list.CellText(row, kColumnMac) == mac && on != nullptr) {
                heard.cells = RowAt(row);
                heard.on = on->name;
                heard.outside = IsOutsideNetwork(heard.cells[kColumnIp], *on);
            }
        }
        return heard;
    }

    void ExpectMoved(const std::string& mac, const char* listedIp) const {
        const Heard moved = HeardOf(mac);
        EXPECT_EQ(moved.cells[kColumnIp], listedIp);
        EXPECT_EQ(moved.cells[kColumnGivenName], "moved-in");
        EXPECT_EQ(moved.on, "klp1");
        EXPECT_FALSE(moved.outside);
    }

    void ExpectListed(int segment, bool outside) const {
        for (const DeviceRow& expected : kSegments[segment].ExpectedRows()) {
            const Heard heard = HeardOf(expected[kColumnMac]);
            EXPECT_EQ(heard.cells, expected);
            EXPECT_EQ(heard.on, "klp" + std::to_string(segment));
            EXPECT_EQ(heard.outside, outside) << expected[kColumnIp];
        }
    }
};

TEST_F(LabSegmentsInnerTest, EverySegmentIsListedAndConfigured) {
    ASSERT_NE(::if_nametoindex("klp1"), 0u) << "not on the program side of two segments";
    const int listed = kSegments[0].Count() + kSegments[1].Count();
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    for (const bool discover : {false, true}) {
        SCOPED_TRACE(discover ? "Discover" : "start-up");
        if (discover) {
            m_window->OnDiscover();
        }
        ASSERT_TRUE(WaitForRowCount(listed));
        ExpectListed(0, false);
        ExpectListed(1, true);
    }

    // Into its segment's network, by the interface it was heard on.
    const std::string mac = MovedMac();
    ASSERT_NO_FATAL_FAILURE(ConfigureIp(mac, StaticSettings(0x0AD60032, "moved-in")));
    // The simulator takes the request before the probe that follows it.
    m_window->OnDiscover();
    ASSERT_TRUE(WaitForRowCount(listed));
    ExpectMoved(mac, "10.214.0.50");

    ChildProcess plugged(KESTRELINK_LAB_SCRIPT, {"--add-segment", "--devices", DevicesCommand(2)});
    ASSERT_TRUE(plugged.WaitForLine("segment klp2 ready", kE2eWait)) << plugged.ErrorText();
    m_window->OnDiscover();
    ASSERT_TRUE(WaitForRowCount(listed + kSegments[2].Count()));
    ExpectListed(2, false);
    EXPECT_EQ(plugged.WaitForLines("probe 08bits from 10.215.0.1:", 1, kE2eWait).size(), 1u);
    EXPECT_EQ(plugged.WaitForLines("probe 32bits from 10.215.0.1:", 1, kE2eWait).size(), 1u);

    // By every interface once the one it was heard on is gone. No row can name an interface
    // that is not there, so an endpoint of the test's own sends this request.
    m_window.reset();
    {
        Endpoint endpoint(std::make_shared<RecordingHandOver>(), [](std::string_view) {});
        ASSERT_TRUE(endpoint.OpenEndpoint());
        ASSERT_TRUE(SendConfigRequest(endpoint, {mac, "32bits", "klp9"},
                                      StaticSettings(0x0AD60033, "moved-in")));
    }
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitUntil([&](const DeviceList& list) {
        return list.RowCount() == listed + kSegments[2].Count() && list.HasRowWithIp("10.214.0.51");
    }));
    ExpectMoved(mac, "10.214.0.51");
}

}  // namespace
}  // namespace kestrelink::testing
