#include "provisioning/plan_checks.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink::provisioning {
namespace {

using Kind = EntryProblem::Kind;

TEST(PlanChecksTest, EachEntryAgainstTheListedDevices) {
    const Plan plan = ReadPlan(
        "mac,ip,mask,gateway,dns,name,password,dhcp\n"
        "02:00:00:00:00:01,10.0.0.9,255.255.255.0,10.0.0.1,,,,\n"   // onto a device left out
        "02:00:00:00:00:02,10.0.0.3,255.255.255.0,10.0.0.1,,,,\n"   // onto a planned device
        "02:00:00:00:00:03,,,,,cam-1,,yes\n"                        // a name for an 08bits
        "02:00:00:00:00:04,10.0.0.4,255.255.255.0,10.0.0.1,,,,\n",  // not listed
        "site.csv");
    ASSERT_TRUE(plan.problems.empty());
    const ListedDevice listed[] = {
        {"02:00:00:00:00:01", "10.0.0.1", "one", DeviceFamily::Bits32},
        {"02:00:00:00:00:02", "10.0.0.2", "two", DeviceFamily::Bits32},
        {"02:00:00:00:00:03", "10.0.0.3", "three", DeviceFamily::Bits08},
        {"02:00:00:00:00:09", "10.0.0.9", "caf\xe9", DeviceFamily::Bits08}};
    const std::vector<EntryProblem> problems =
        CheckAgainstListed(plan.entries, listed, kPlanColumns);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].entry, 0u);
    EXPECT_EQ(problems[0].kind, Kind::AddressHeld);
    EXPECT_EQ(
        problems[0].text,
        "ip 10.0.0.9 is in use by 02:00:00:00:00:09 ('caf\xc3\xa9'), which the plan leaves out");
    EXPECT_EQ(problems[1].entry, 2u);
    EXPECT_EQ(problems[1].kind, Kind::Unsuitable);
    EXPECT_EQ(problems[1].text,
              "name cannot go to 02:00:00:00:00:03: an 08bits request has no name field");
    EXPECT_EQ(problems[2].entry, 3u);
    EXPECT_EQ(problems[2].kind, Kind::NotListed);
}

}  // namespace
}  // namespace kestrelink::provisioning
