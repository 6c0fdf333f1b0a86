#include "provisioning/plan_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kestrelink::provisioning {
namespace {

constexpr auto kHeader = "mac,ip,mask,gateway,dns,name,password,dhcp\n";

struct PlanCase {
    const char* name;
    std::string text;
    std::vector<std::string> problems;
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class PlanProblemTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanProblemTest, EachProblemWithItsLine) {
    EXPECT_EQ(ReadPlan(GetParam().text, "site.csv").problems, GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanProblemTest,
    ::testing::Values(
        PlanCase{"Empty", "", {"site.csv: the plan is empty"}},
        PlanCase{"HeaderOnly", kHeader, {"site.csv:1: the plan lists no device"}},
        PlanCase{"ColumnsMissingAndUnknown",
                 "mac,ip,mask,gateway,dns,name,passwd\n",
                 {"site.csv:1: unknown column 'passwd'", "site.csv:1: no column 'password'",
                  "site.csv:1: no column 'dhcp'"}},
        PlanCase{"BadCellsOnTheirLines",
                 std::string(kHeader) +
                     "02:00:00:00:00:01,10.0.0.300,255.255.255.0,10.0.0.1,,,,\n"
                     "\"02:00:00:00:00:02\",10.0.0.2,255.255.255.0,10.0.0.1,,,,maybe\n"
                     "02:00:00:00:00:03,10.0.0.3,255.255.255.0\n",
                 {"site.csv:2: ip '10.0.0.300' is not a dotted IPv4 address",
                  "site.csv:3: dhcp 'maybe' is not yes or no",
                  "site.csv:4: 3 fields where the header has 8"}},
        PlanCase{"SameMacTwiceInAnyCase",
                 std::string(kHeader) + "02:00:00:00:00:0a,,,,,,,yes\n"
                                        "02:00:00:00:00:0A,,,,,,,TRUE\n",
                 {"site.csv:3: MAC 02:00:00:00:00:0a is planned on line 2 already"}},
        PlanCase{"SameStaticIpTwice",
                 std::string(kHeader) + "02:00:00:00:00:01,10.0.0.5,255.255.255.0,10.0.0.1,,,,\n"
                                        "02:00:00:00:00:02,,,,,,,yes\n"
                                        "02:00:00:00:00:03,10.0.0.5,255.255.0.0,10.0.0.1,,,,0\n",
                 {"site.csv:4: ip 10.0.0.5 is planned on line 2 already"}},
        PlanCase{"UnworkableAddressesOnTheirLines",
                 std::string(kHeader) + "02:00:00:00:00:01,10.0.0.0,255.255.255.0,10.0.0.1,,,,\n"
                                        "02:00:00:00:00:02,10.0.0.2,255.255.255.0,10.0.0.2,,,,\n",
                 {"site.csv:2: ip 10.0.0.0 is the network address of 10.0.0.0/24; --force sends "
                  "it anyway",
                  "site.csv:3: gateway 10.0.0.2 is the device's own ip; --force sends it "
                  "anyway"}}),
    [](const auto& info) { return info.param.name; });

TEST(ReadPlanTest, ColumnsInAnyOrderAndQuotedCells) {
    const Plan plan = ReadPlan(
        "dhcp,name,mac,ip,mask,gateway,dns,password\r\n"
        "no,\"Hall 3, east\",02:00:00:00:00:01,10.0.0.5,255.255.255.0,10.0.0.1,10.0.0.2,pw\r\n"
        "\r\n"
        "Yes,,02:00:00:00:00:02,,,,,\r\n",
        "site.csv");
    ASSERT_TRUE(plan.problems.empty()) << ::testing::PrintToString(plan.problems);
    ASSERT_EQ(plan.entries.size(), 2u);

    const PlanEntry& first = plan.entries[0];
    EXPECT_EQ(first.line, 2u);
    EXPECT_EQ(first.request.mac, "02:00:00:00:00:01");
    EXPECT_EQ(first.request.settings.ipAddress, 0x0A000005u);
    EXPECT_EQ(first.request.settings.dnsServer, 0x0A000002u);
    EXPECT_EQ(first.request.settings.hostName, "Hall 3, east");
    EXPECT_EQ(first.request.settings.password, "pw");
    EXPECT_FALSE(first.request.keepName);

    const PlanEntry& second = plan.entries[1];
    EXPECT_EQ(second.line, 4u);
    EXPECT_TRUE(second.request.settings.useDhcp);
    EXPECT_TRUE(second.request.keepName);
}

TEST(FormatPlanTest, WritesWhatTheReaderTakesWithoutPasswords) {
    const RequestFields devices[] = {
        {"02:00:00:00:00:01", "10.0.0.5", "255.255.255.0", "10.0.0.1", "", "Hall 3, east", "pw",
         false, true},
        {"02:00:00:00:00:02", "", "", "", "", "ignored", "pw", true, false}};
    EXPECT_EQ(FormatPlan(devices),
              "mac,ip,mask,gateway,dns,name,password,dhcp\n"
              "02:00:00:00:00:01,10.0.0.5,255.255.255.0,10.0.0.1,,\"Hall 3, east\",,no\n"
              "02:00:00:00:00:02,,,,,,,yes\n");
}

}  // namespace
}  // namespace kestrelink::provisioning
