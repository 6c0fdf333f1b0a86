#include <signal.h>

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

// One simulated 32bits device per simulator, so that each can be stopped, moved and started
// again by itself; their sockets share the ports, and every one of them hears each probe.
class CliChangesTest : public CliTest {
protected:
    void StartDevice(const std::string& suffix, const std::string& ip, const std::string& name) {
        auto device = std::make_unique<ChildProcess>(
            KESTRELINK_DEVSIM_PATH,
            std::vector<std::string>{"--devices08", "0", "--devices32", "1", "--first-mac",
                                     "02:6b:6c:00:30:" + suffix, "--first-ip", ip, "--first-serial",
                                     "500", "--name-prefix", name});
        ASSERT_TRUE(device->WaitForLine("listening", kE2eWait)) << device->ErrorText();
        m_devices[suffix] = std::move(device);
    }
    void StopDevice(const std::string& suffix) { m_devices.erase(suffix); }

    std::map<std::string, std::unique_ptr<ChildProcess>> m_devices;
};

// The window's exported list: byte order mark, CRLF, and a name behind the spreadsheet guard.
constexpr auto kEarlierList =
    "\xEF\xBB\xBFip,mac,product,name,version,serial,family\r\n"
    "10.213.1.1,02:6b:6c:00:30:01,DevSim 32,'=same1,1.0,500,32bits\r\n"
    "10.213.1.2,02:6b:6c:00:30:02,DevSim 32,moved1,1.0,500,32bits\r\n"
    "10.213.1.3,02:6b:6c:00:30:03,DevSim 32,stopped1,1.0,500,32bits\r\n";

TEST_F(CliChangesTest, CompareRefusesOtherFilesAndMarksMovedNewStoppedAndReturnedDevices) {
    const std::string plan = WriteFile("plan.csv", "mac,ip,mask,gateway,dns,name,password,dhcp\n");
    const CliRun refused = RunCli({"discover", "--compare", plan});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errorText, "kestrelink-cli: " + plan +
                                     ":1: not a device list: the header is neither the "
                                     "command-line program's nor the window's exported list's\n");
    const std::string earlier = WriteFile("earlier.csv", kEarlierList);
    ASSERT_NO_FATAL_FAILURE(StartDevice("01", "10.213.1.1", "=same"));
    ASSERT_NO_FATAL_FAILURE(StartDevice("02", "10.213.1.20", "moved"));
    ASSERT_NO_FATAL_FAILURE(StartDevice("04", "10.213.1.4", "new"));

    const CliRun run = RunCli({"discover", "--wait", kPatientWait, "--format", "csv", "--compare",
                               earlier, "--fail-on-change"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorText, "kestrelink-cli: the devices differ from " + earlier +
                                 ": 1 new, 1 changed, 1 missing\n");
    const std::vector<std::string> expected = {
        "ip,mac,product,name,version,serial,family,interface,conflict,outside,change,was_ip,"
        "was_name,was_version",
        "10.213.1.1,02:6b:6c:00:30:01,DevSim 32,=same1,1.0,500,32bits,,false,false,same,,,",
        "10.213.1.4,02:6b:6c:00:30:04,DevSim 32,new1,1.0,500,32bits,,false,false,new,,,",
        "10.213.1.20,02:6b:6c:00:30:02,DevSim 32,moved1,1.0,500,32bits,,false,false,changed,"
        "10.213.1.2,moved1,1.0",
        "10.213.1.3,02:6b:6c:00:30:03,DevSim 32,stopped1,1.0,500,32bits,,false,false,missing,,,"};
    EXPECT_EQ(run.output, expected);

    ASSERT_NO_FATAL_FAILURE(StartDevice("03", "10.213.1.3", "stopped"));
    const CliRun again = RunCli({"discover", "--wait", kPatientWait, "--format", "csv", "--compare",
                                 earlier, "--fail-on-change"});
    EXPECT_EQ(again.status, 1) << "still one new and one changed";
    ASSERT_EQ(again.output.size(), 5u);
    EXPECT_EQ(
        again.output[2],
        "10.213.1.3,02:6b:6c:00:30:03,DevSim 32,stopped1,1.0,500,32bits,,false,false,same,,,");
}

// "EVENT MAC IP was WAS_IP" for each line, every one of them a whole JSON object.
std::vector<std::string> Events(const std::vector<std::string>& lines) {
    std::vector<std::string> events;
    for (const std::string& line : lines) {
        const auto event = nlohmann::json::parse(line);
        events.push_back(
            event.at("event").get<std::string>() + " " + event.at("mac").get<std::string>() + " " +
            event.at("ip").get<std::string>() + " was " + event.value("was_ip", std::string("-")));
    }
    return events;
}

TEST_F(CliChangesTest, WatchReportsEachMoveStopAndReturnOnceAndEndsCleanlyOnSigint) {
    ASSERT_NO_FATAL_FAILURE(StartDevice("01", "10.213.1.1", "same"));
    ASSERT_NO_FATAL_FAILURE(StartDevice("02", "10.213.1.2", "moved"));
    ASSERT_NO_FATAL_FAILURE(StartDevice("03", "10.213.1.3", "stopped"));
    // Eight missed rounds of a quarter second: a simulator restarted in place misses none of
    // them on a loaded machine.
    ChildProcess watch(KESTRELINK_CLI_PATH, {"discover", "--watch", "--interval", "0.25",
                                             "--missing-after", "8", "--format", "json"});
    ASSERT_EQ(watch.WaitForLines("\"appeared\"", 3, kE2eWait).size(), 3u) << watch.ErrorText();

    StopDevice("02");
    ASSERT_NO_FATAL_FAILURE(StartDevice("02", "10.213.1.22", "moved"));
    ASSERT_TRUE(watch.WaitForLine("\"changed\"", kE2eWait));
    StopDevice("03");
    ASSERT_TRUE(watch.WaitForLine("\"vanished\"", kE2eWait));
    ASSERT_NO_FATAL_FAILURE(StartDevice("03", "10.213.1.3", "stopped"));
    ASSERT_TRUE(watch.WaitForLine("\"returned\"", kE2eWait));

    watch.Signal(SIGINT);
    EXPECT_EQ(watch.WaitForExit(kE2eWait), 0) << watch.ErrorText();
    std::vector<std::string> events = Events(watch.OutputLines());
    ASSERT_GE(events.size(), 3u);
    std::sort(events.begin(), events.begin() + 3);
    const std::vector<std::string> expected = {
        "appeared 02:6b:6c:00:30:01 10.213.1.1 was -",
        "appeared 02:6b:6c:00:30:02 10.213.1.2 was -",
        "appeared 02:6b:6c:00:30:03 10.213.1.3 was -",
        "changed 02:6b:6c:00:30:02 10.213.1.22 was 10.213.1.2",
        "vanished 02:6b:6c:00:30:03 10.213.1.3 was -",
        "returned 02:6b:6c:00:30:03 10.213.1.3 was 10.213.1.3"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(watch.ErrorText(), "");
}

}  // namespace
}  // namespace kestrelink::testing
