#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "kestrelink/version.h"
#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};

// The simulator's dup-ip strangers (MACs 0e:ee:...) announce each family's first address.
std::vector<std::string> TableLines() {
    return {
        "IP          MAC                Product Name  Given Name  Version  Serial No   arch    "
        "Interface  Conflict  Outside",
        "10.213.1.1  02:6b:6c:00:10:00  DevSim 08     unit-1      1.0      70000       08bits  "
        "           yes       no",
        "10.213.1.1  0e:ee:00:00:08:05  Malformed     stranger    0        4008577029  08bits  "
        "           yes       no",
        "10.213.1.2  02:6b:6c:00:10:01  DevSim 08     unit-2      1.0      70001       08bits  "
        "           no        no",
        "10.213.1.3  02:6b:6c:00:10:02  DevSim 32     unit-3      1.0      70002       32bits  "
        "           yes       no",
        "10.213.1.3  0e:ee:00:00:32:05  Malformed     stranger    0        4008587781  32bits  "
        "           yes       no",
        "10.213.1.4  02:6b:6c:00:10:03  DevSim 32     unit-4      1.0      70003       32bits  "
        "           no        no"};
}

std::vector<std::string> CsvLines() {
    return {"ip,mac,product,name,version,serial,family,interface,conflict,outside",
            "10.213.1.1,02:6b:6c:00:10:00,DevSim 08,unit-1,1.0,70000,08bits,,true,false",
            "10.213.1.1,0e:ee:00:00:08:05,Malformed,stranger,0,4008577029,08bits,,true,false",
            "10.213.1.2,02:6b:6c:00:10:01,DevSim 08,unit-2,1.0,70001,08bits,,false,false",
            "10.213.1.3,02:6b:6c:00:10:02,DevSim 32,unit-3,1.0,70002,32bits,,true,false",
            "10.213.1.3,0e:ee:00:00:32:05,Malformed,stranger,0,4008587781,32bits,,true,false",
            "10.213.1.4,02:6b:6c:00:10:03,DevSim 32,unit-4,1.0,70003,32bits,,false,false"};
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// The keys of the first object, then each object's values, as CSV lines; every text is free of
// commas and quotes here.
std::vector<std::string> JsonAsCsv(const std::vector<std::string>& output) {
    const auto devices = nlohmann::ordered_json::parse(Joined(output));
    std::vector<std::string> lines;
    for (const auto& device : devices) {
        EXPECT_TRUE(device.at("serial").is_number_unsigned()) << device;
        EXPECT_TRUE(device.at("conflict").is_boolean()) << device;
        std::string keys;
        std::string values;
        for (const auto& [key, value] : device.items()) {
            const char* separator = keys.empty() ? "" : ",";
            keys += separator + key;
            values += separator + (value.is_string() ? value.get<std::string>() : value.dump());
        }
        if (lines.empty()) {
            lines.push_back(keys);
        }
        lines.push_back(values);
    }
    return lines;
}

struct FormatCase {
    const char* format;
    std::vector<std::string> (*expected)();
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.format;
}

class CliDiscoverTest : public CliTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CliDiscoverTest, ListsEveryDeviceOnceInIpOrderWithConflictsMarked) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--malformed", "dup-ip"}));
    const std::string format = GetParam().format;
    const CliRun run =
        RunCli({"discover", "--wait", kPatientWait, "--format", format, "--expect", "6"});
    ASSERT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(run.errorText, "");
    EXPECT_EQ(format == "json" ? JsonAsCsv(run.output) : run.output, GetParam().expected())
        << Joined(run.output);
}

INSTANTIATE_TEST_SUITE_P(Formats, CliDiscoverTest,
                         ::testing::Values(FormatCase{"table", TableLines},
                                           FormatCase{"csv", CsvLines},
                                           FormatCase{"json", CsvLines}),
                         [](const auto& info) { return std::string(info.param.format); });

class CliExpectTest : public CliTest {};

TEST_F(CliExpectTest, TooFewAnswersFailButAreStillListed) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const CliRun run =
        RunCli({"discover", "--wait", kPatientWait, "--format", "csv", "--expect", "5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorText, "kestrelink-cli: expected at least 5 devices, 4 answered within " +
                                 kPatientWait + " ms\n");
    EXPECT_EQ(run.output.size(), 1u + kDevices.Count());
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* complaint;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class CliUsageTest : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

// Refused with status 2 and one line that says why, before anything is sent.
TEST_P(CliUsageTest, BadUsageSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const CliRun run = RunCli(GetParam().arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.output.empty());
    EXPECT_NE(run.errorText.find(GetParam().complaint), std::string::npos) << run.errorText;
    EXPECT_EQ(std::count(run.errorText.begin(), run.errorText.end(), '\n'), 1) << run.errorText;
    EXPECT_TRUE(RequestsSeen().empty());
    EXPECT_EQ(m_simulator->WaitForLines("probe", 2, kE2eWait).size(), 2u)
        << "only the probes of the check itself";
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsageTest,
    ::testing::Values(
        UsageCase{"UnknownFormat", {"discover", "--format", "xml"}, "--format"},
        UsageCase{
            "UnknownInterface",
            {"discover", "--interface", "nosuch0"},
            "no network interface named 'nosuch0' is up with an IPv4 address that can broadcast"},
        UsageCase{"DhcpAndAddress",
                  {"configure", "02:6b:6c:00:10:00", "--dhcp", "--ip", "10.213.7.5"},
                  "--dhcp excludes --ip"},
        UsageCase{"BadMask",
                  {"configure", "02:6b:6c:00:10:00", "--ip", "10.213.7.5", "--mask",
                   "255.255.0.255", "--gateway", "10.213.7.1"},
                  "--mask '255.255.0.255' is not a subnet mask"},
        UsageCase{
            "IntervalWithoutWatch", {"discover", "--interval", "1"}, "--interval requires --watch"},
        UsageCase{"WatchAndCompare",
                  {"discover", "--watch", "--compare", "x.csv"},
                  "--compare excludes --watch"}),
    [](const auto& info) { return info.param.name; });

class CliInfoTest : public CliTest {};

TEST_F(CliInfoTest, VersionIsTheProjects) {
    const CliRun run = RunCli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, std::vector<std::string>{"kestrelink-cli " + std::string(kVersion)});
}

}  // namespace
}  // namespace kestrelink::testing
