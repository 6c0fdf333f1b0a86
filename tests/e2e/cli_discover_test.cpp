#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "net/csv.h"
#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr std::size_t kFieldCount = 9;
// ip, mac, product, name, version, serial, family, interface, conflict ("true" or "false")
using Listed = std::array<std::string, kFieldCount>;

Listed Expected(const DeviceRow& row, bool conflict) {
    return {row[kColumnIp],
            row[kColumnMac],
            row[kColumnProductName],
            row[kColumnGivenName],
            row[kColumnVersion],
            row[kColumnSerialNo],
            row[kColumnArch],
            "",
            conflict ? "true" : "false"};
}

// The simulator's dup-ip strangers, one per family, on the family's first device's address.
std::vector<Listed> ExpectedWithStrangers() {
    return {Expected(kDevices.ExpectedRow(0), true),
            {"10.213.1.1", "0e:ee:00:00:08:05", "Malformed", "stranger", "0", "4008577029",
             "08bits", "", "true"},
            Expected(kDevices.ExpectedRow(1), false),
            Expected(kDevices.ExpectedRow(2), true),
            {"10.213.1.3", "0e:ee:00:00:32:05", "Malformed", "stranger", "0", "4008587781",
             "32bits", "", "true"},
            Expected(kDevices.ExpectedRow(3), false)};
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// Columns start where their header starts.
std::vector<Listed> FromTable(const std::vector<std::string>& lines) {
    constexpr std::array<std::string_view, kFieldCount> kHeaders = {
        "IP",        "MAC",  "Product Name", "Given Name", "Version",
        "Serial No", "arch", "Interface",    "Conflict"};
    EXPECT_FALSE(lines.empty());
    std::array<std::size_t, kFieldCount + 1> starts{};
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        starts[i] = lines.front().find(kHeaders[i]);
        EXPECT_NE(starts[i], std::string::npos) << kHeaders[i];
    }
    starts[kFieldCount] = std::string::npos;
    std::vector<Listed> listed;
    for (auto line = lines.begin() + 1; line < lines.end(); ++line) {
        Listed& fields = listed.emplace_back();
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            std::string cell =
                line->substr(std::min(starts[i], line->size()), starts[i + 1] - starts[i]);
            cell.erase(cell.find_last_not_of(' ') + 1);
            fields[i] = cell;
        }
        EXPECT_TRUE(fields[8] == "yes" || fields[8] == "no") << *line;
        fields[8] = fields[8] == "yes" ? "true" : "false";
    }
    return listed;
}

std::vector<Listed> FromCsv(const std::vector<std::string>& lines) {
    const CsvTable table = ParseCsv(Joined(lines));
    EXPECT_FALSE(table.error);
    EXPECT_FALSE(table.records.empty());
    EXPECT_EQ(table.records.front().fields,
              (std::vector<std::string>{"ip", "mac", "product", "name", "version", "serial",
                                        "family", "interface", "conflict"}));
    std::vector<Listed> listed;
    for (auto record = table.records.begin() + 1; record < table.records.end(); ++record) {
        EXPECT_EQ(record->fields.size(), kFieldCount);
        Listed& fields = listed.emplace_back();
        std::copy_n(record->fields.begin(), std::min(record->fields.size(), kFieldCount),
                    fields.begin());
    }
    return listed;
}

std::vector<Listed> FromJson(const std::vector<std::string>& lines) {
    const auto devices = nlohmann::ordered_json::parse(Joined(lines));
    std::vector<Listed> listed;
    for (const auto& device : devices) {
        EXPECT_TRUE(device.at("serial").is_number_unsigned()) << device;
        EXPECT_TRUE(device.at("conflict").is_boolean()) << device;
        listed.push_back({device.at("ip"), device.at("mac"), device.at("product"),
                          device.at("name"), device.at("version"),
                          std::to_string(device.at("serial").get<std::uint64_t>()),
                          device.at("family"), device.at("interface"),
                          device.at("conflict").get<bool>() ? "true" : "false"});
    }
    return listed;
}

struct FormatCase {
    const char* format;
    std::vector<Listed> (*read)(const std::vector<std::string>&);
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.format;
}

class CliDiscoverTest : public CliTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CliDiscoverTest, ListsEveryDeviceOnceInIpOrderWithConflictsMarked) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--malformed", "dup-ip"}));
    const CliRun run = RunCli({"discover", "--wait", "500", "--format", GetParam().format});
    ASSERT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(run.errorText, "");
    EXPECT_EQ(GetParam().read(run.output), ExpectedWithStrangers()) << Joined(run.output);
}

INSTANTIATE_TEST_SUITE_P(Formats, CliDiscoverTest,
                         ::testing::Values(FormatCase{"table", FromTable},
                                           FormatCase{"csv", FromCsv},
                                           FormatCase{"json", FromJson}),
                         [](const auto& info) { return std::string(info.param.format); });

struct ExpectCase {
    const char* name;
    const char* expect;
    int status;
    const char* complaint;
};

void PrintTo(const ExpectCase& c, std::ostream* os) {
    *os << c.name;
}

class CliExpectTest : public CliTest, public ::testing::WithParamInterface<ExpectCase> {};

TEST_P(CliExpectTest, TooFewAnswersFailButAreStillListed) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const CliRun run =
        RunCli({"discover", "--wait", "500", "--format", "csv", "--expect", GetParam().expect});
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.errorText, GetParam().complaint);
    EXPECT_EQ(run.output.size(), 1u + kDevices.Count());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CliExpectTest,
    ::testing::Values(ExpectCase{"Enough", "4", 0, ""},
                      ExpectCase{"TooFew", "5", 1,
                                 "kestrelink-cli: expected at least 5 devices, 4 answered within "
                                 "500 ms\n"}),
    [](const auto& info) { return info.param.name; });

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
        UsageCase{"NoCommand", {}, "A subcommand is required"},
        UsageCase{"UnknownFormat", {"discover", "--format", "xml"}, "--format"},
        UsageCase{"NegativeWait", {"discover", "--wait", "-1"}, "--wait"},
        UsageCase{"UnknownInterface",
                  {"discover", "--interface", "nosuch0"},
                  "no network interface named 'nosuch0'"},
        UsageCase{"NeitherMacNorPlan", {"configure", "--dhcp"}, "configure needs a MAC or --plan"},
        UsageCase{"DhcpAndAddress",
                  {"configure", "02:6b:6c:00:10:00", "--dhcp", "--ip", "10.213.7.5"},
                  "--dhcp excludes --ip"},
        UsageCase{"DryRunWithoutPlan",
                  {"configure", "02:6b:6c:00:10:00", "--dhcp", "--dry-run"},
                  "--dry-run requires --plan"},
        UsageCase{"BadMask",
                  {"configure", "02:6b:6c:00:10:00", "--ip", "10.213.7.5", "--mask",
                   "255.255.0.255", "--gateway", "10.213.7.1"},
                  "--mask '255.255.0.255' is not a subnet mask"}),
    [](const auto& info) { return info.param.name; });

class CliInfoTest : public CliTest {};

TEST_F(CliInfoTest, HelpForEveryCommandAndOneVersion) {
    const std::pair<std::vector<std::string>, std::string> helps[] = {
        {{"--help"}, "Usage: kestrelink-cli [OPTIONS] SUBCOMMAND"},
        {{"discover", "--help"}, "Usage: kestrelink-cli discover [OPTIONS]"},
        {{"configure", "--help"}, "Usage: kestrelink-cli configure [OPTIONS] [MAC]"}};
    for (const auto& [arguments, usage] : helps) {
        SCOPED_TRACE(usage);
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(std::find(run.output.begin(), run.output.end(), usage), run.output.end())
            << Joined(run.output);
        EXPECT_EQ(run.errorText, "");
    }
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, std::vector<std::string>{"kestrelink-cli 1.3.1.3705"});
}

}  // namespace
}  // namespace kestrelink::testing
