#include "net/subnet.h"

#include <gtest/gtest.h>

#include <string>

#include "net/interfaces.h"

namespace kestrelink {
namespace {

struct MembershipCase {
    const char* name;
    std::string ipCell;
    int prefixLength;  // of enp3s0, 10.98.0.1
    bool outside;
};

class IsOutsideNetworkTest : public ::testing::TestWithParam<MembershipCase> {};

TEST_P(IsOutsideNetworkTest, OnlyAnAddressOfTheInterfacesNetworkIsInside) {
    const MembershipCase& c = GetParam();
    EXPECT_EQ(IsOutsideNetwork(c.ipCell, {2, "enp3s0", 0x0A620001u, c.prefixLength}), c.outside);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, IsOutsideNetworkTest,
    ::testing::Values(MembershipCase{"SameSlash24", "10.98.0.57", 24, false},
                      MembershipCase{"EdgesOfSlash24", "10.98.0.255", 24, false},
                      MembershipCase{"NextSlash24", "10.98.1.57", 24, true},
                      MembershipCase{"FactoryDefault", "192.168.1.20", 24, true},
                      MembershipCase{"ThirdOctetInsideSlash16", "10.98.200.3", 16, false},
                      MembershipCase{"SecondOctetOutsideSlash16", "10.99.0.3", 16, true},
                      MembershipCase{"EverythingInsideSlash0", "8.8.8.8", 0, false},
                      MembershipCase{"OnlyItselfInsideSlash32", "10.98.0.2", 32, true},
                      // A 32bits device's IP cell is its text as sent.
                      MembershipCase{"NotAnAddress", "unknown", 24, true},
                      MembershipCase{"ShortForm", "10.98.57", 24, true},
                      MembershipCase{"TrailingSpace", "10.98.0.57 ", 24, true}),
    [](const auto& info) { return info.param.name; });

// A port that holds the factory network's 192.168.1.100/24 and 172.16.0.1/16 beside its own.
TEST(FurtherNetworksTest, ADeviceInAnyNetworkOfThePortIsInside) {
    const NetworkInterface port{
        2, "enp3s0", 0x0A620001u, 24, {{0xC0A80164u, 24}, {0xAC100001u, 16}}};
    EXPECT_FALSE(IsOutsideNetwork("10.98.0.57", port));
    EXPECT_FALSE(IsOutsideNetwork("192.168.1.20", port));
    EXPECT_FALSE(IsOutsideNetwork("172.16.9.9", port));
    EXPECT_TRUE(IsOutsideNetwork("192.168.2.20", port));
}

}  // namespace
}  // namespace kestrelink
