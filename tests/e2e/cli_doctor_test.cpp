#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "net/udp_socket.h"
#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

// Two devices of each family behind segment 0, one of each behind segment 1.
constexpr SimulatedDevices kSegments[] = {{2, 2, 0x026b6c000100, 0x0AD5000B},
                                          {1, 1, 0x026b6c000200, 0x0AD6000B}};

std::string DevicesCommand(const SimulatedDevices& devices) {
    std::string command = std::string("exec ") + KESTRELINK_DEVSIM_PATH;
    for (const std::string& argument : devices.Arguments()) {
        command += " " + argument;
    }
    return command;
}

struct LabRun {
    std::optional<int> status;
    std::vector<std::string> lines;  // the program's, without the simulators' reports
    std::string errorText;
};

// doctor on the program side of the two segments, after shellSetUp has run there.
LabRun DoctorInLab(const std::string& shellSetUp, const std::string& format) {
    ChildProcess lab(KESTRELINK_LAB_SCRIPT, {"--devices", DevicesCommand(kSegments[0]), "--devices",
                                             DevicesCommand(kSegments[1]), "--", "/bin/sh", "-c",
                                             shellSetUp + "exec \"$0\" doctor --wait " +
                                                 kPatientWait + " --format " + format,
                                             KESTRELINK_CLI_PATH});
    LabRun run{lab.WaitForExit(std::chrono::seconds(60)), lab.OutputLines(), lab.ErrorText()};
    std::erase_if(run.lines, [](const std::string& line) {
        return line.starts_with("probe ") || line.starts_with("listening ");
    });
    return run;
}

class CliDoctorTest : public CliTest {};

TEST_F(CliDoctorTest, CountsTheAnswersOfEachAdapterAndFindsNothingInTheWay) {
    const LabRun run = DoctorInLab("", "table");
    EXPECT_EQ(run.status, std::optional<int>(0)) << run.errorText;
    const std::vector<std::string> expected = {
        "UDP port 54320:  bindable",
        "Firewall:       not applicable",
        "",
        "Adapter  Addresses      Probe  Source      rp_filter  Answered",
        "klp0     10.213.0.1/24  sent   10.213.0.1  0          4",
        "klp1     10.214.0.1/24  sent   10.214.0.1  0          2",
        "",
        "Nothing stands in the way."};
    std::vector<std::string> withoutBuffer = run.lines;
    std::erase_if(withoutBuffer,
                  [](const std::string& line) { return line.starts_with("Receive buffer: "); });
    EXPECT_EQ(withoutBuffer, expected) << ::testing::PrintToString(run.lines);
}

TEST_F(CliDoctorTest, NamesAnAdapterWithStrictReversePathFiltering) {
    const LabRun run = DoctorInLab("sysctl -qw net.ipv4.conf.klp1.rp_filter=1 && ", "json");
    EXPECT_EQ(run.status, std::optional<int>(1)) << run.errorText;
    std::string text;
    for (const std::string& line : run.lines) {
        text += line + "\n";
    }
    const auto report = nlohmann::json::parse(text);
    EXPECT_EQ(report.at("adapters").at(0).at("strict_rp_filter"), false);
    EXPECT_EQ(report.at("adapters").at(1).at("strict_rp_filter"), true);
    EXPECT_EQ(report.at("adapters").at(1).at("source"), "10.214.0.1");
    EXPECT_EQ(report.at("obstacles"),
              nlohmann::json::array({"klp1 drops announcements from devices outside its networks "
                                     "(rp_filter 1): sysctl -w net.ipv4.conf.klp1.rp_filter=2"}));
}

TEST_F(CliDoctorTest, TellsThatAnotherProgramHoldsThePort) {
    UdpSocket holder;
    ASSERT_TRUE(holder.Create() && holder.Bind(LOCAL_PORT));
    const CliRun run = RunCli({"doctor", "--format", "json", "--wait", "0"});
    EXPECT_EQ(run.status, 1) << run.errorText;
    std::string text;
    for (const std::string& line : run.output) {
        text += line + "\n";
    }
    const auto report = nlohmann::json::parse(text);
    EXPECT_EQ(report.at("port").at("bindable"), false);
    EXPECT_EQ(report.at("obstacles"),
              nlohmann::json::array({"UDP port 54320 cannot be bound: another program holds it "
                                     "(another copy of Kestrelink?)",
                                     "no adapter is up that a broadcast can leave by"}));
}

}  // namespace
}  // namespace kestrelink::testing
