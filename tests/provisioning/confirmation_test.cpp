#include "provisioning/confirmation.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrelink::provisioning {
namespace {

const Appearance kBefore{"10.213.1.4", "unit-4"};

struct ConfirmationCase {
    const char* name;
    ProvisioningStep step;
    Appearance seen;
    bool confirms;
};

void PrintTo(const ConfirmationCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfirmationTest : public ::testing::TestWithParam<ConfirmationCase> {};

TEST_P(ConfirmationTest, OnlyTheDevicesNewValuesConfirm) {
    EXPECT_EQ(Confirms(GetParam().step, GetParam().seen), GetParam().confirms);
}

INSTANTIATE_TEST_SUITE_P(
    Sightings, ConfirmationTest,
    ::testing::Values(
        ConfirmationCase{"NewAddressAndName",
                         {"m", kBefore, "10.213.7.60", "hall-3"},
                         {"10.213.7.60", "hall-3"},
                         true},
        ConfirmationCase{"NewAddressOldName",
                         {"m", kBefore, "10.213.7.60", "hall-3"},
                         {"10.213.7.60", "unit-4"},
                         false},
        ConfirmationCase{
            "AnswersAsBefore", {"m", kBefore, "10.213.7.60", "hall-3"}, kBefore, false},
        ConfirmationCase{
            "RenameOnly", {"m", kBefore, "10.213.1.4", "hall-3"}, {"10.213.1.4", "hall-3"}, true},
        ConfirmationCase{"NoNameField08bits",
                         {"m", kBefore, "10.213.7.50", std::nullopt},
                         {"10.213.7.50", "unit-4"},
                         true},
        ConfirmationCase{"DhcpLeaseElsewhere",
                         {"m", kBefore, std::nullopt, "unit-4"},
                         {"10.213.9.9", "unit-4"},
                         true},
        // A refused DHCP request leaves the device where it was; before, any address but
        // 0.0.0.0 was taken for a lease.
        ConfirmationCase{
            "DhcpStillAtOldAddress", {"m", kBefore, std::nullopt, "unit-4"}, kBefore, false},
        ConfirmationCase{"DhcpNoLeaseYet",
                         {"m", kBefore, std::nullopt, std::nullopt},
                         {"0.0.0.0", "unit-4"},
                         false},
        ConfirmationCase{"DhcpLeaseWithoutTheNewName",
                         {"m", kBefore, std::nullopt, "leased"},
                         {"10.213.9.9", "unit-4"},
                         false},
        // Whatever the device did, this announcement looks like the old one.
        ConfirmationCase{
            "NothingAnnouncedChanges", {"m", kBefore, "10.213.1.4", "unit-4"}, kBefore, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowsNoChangeTest, OnlyAStaticRequestRepeatingAddressAndNameShowsNothing) {
    EXPECT_TRUE(ShowsNoChange({"m", kBefore, "10.213.1.4", "unit-4"}));
    EXPECT_TRUE(ShowsNoChange({"m", kBefore, "10.213.1.4", std::nullopt}));
    EXPECT_FALSE(ShowsNoChange({"m", kBefore, "10.213.1.4", "hall-3"}));
    EXPECT_FALSE(ShowsNoChange({"m", kBefore, "10.213.1.5", std::nullopt}));
    EXPECT_FALSE(ShowsNoChange({"m", kBefore, std::nullopt, "unit-4"}));
}

}  // namespace
}  // namespace kestrelink::provisioning
