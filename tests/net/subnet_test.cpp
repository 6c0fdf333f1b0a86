#include "net/subnet.h"

#include <gtest/gtest.h>

#include <string>

#include "net/interfaces.h"

namespace kestrelink {
namespace {

struct MembershipCase {
    const char* name;
    std::string ipCell;
    NetworkInterface heardOn;
    bool outside;
};

const NetworkInterface kWired24{2, "enp3s0", 0x0A620001u, 24};  // 10.98.0.1/24
const NetworkInterface kWired16{2, "enp3s0", 0xAC100A01u, 16};  // 172.16.10.1/16

class IsOutsideNetworkTest : public ::testing::TestWithParam<MembershipCase> {};

TEST_P(IsOutsideNetworkTest, OnlyAnAddressOfTheInterfacesNetworkIsInside) {
    const MembershipCase& c = GetParam();
    EXPECT_EQ(IsOutsideNetwork(c.ipCell, c.heardOn), c.outside);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, IsOutsideNetworkTest,
    ::testing::Values(
        MembershipCase{"SameSlash24", "10.98.0.57", kWired24, false},
        MembershipCase{"LowestOfSlash24", "10.98.0.0", kWired24, false},
        MembershipCase{"HighestOfSlash24", "10.98.0.255", kWired24, false},
        MembershipCase{"NextSlash24", "10.98.1.57", kWired24, true},
        MembershipCase{"FactoryDefault", "192.168.1.20", kWired24, true},
        MembershipCase{"ThirdOctetInsideSlash16", "172.16.200.3", kWired16, false},
        MembershipCase{"SecondOctetOutsideSlash16", "172.17.10.3", kWired16, true},
        MembershipCase{"EveryAddressInsideSlash0", "8.8.8.8", {2, "enp3s0", 0x0A620001u, 0}, false},
        MembershipCase{
            "OnlyItselfInsideSlash32", "10.98.0.2", {2, "enp3s0", 0x0A620001u, 32}, true},
        // What a 32bits device announces is taken as text; only a dotted address has a network.
        MembershipCase{"NotAnAddress", "unknown", kWired24, true},
        MembershipCase{"Empty", "", kWired24, true},
        MembershipCase{"ShortForm", "10.98.57", kWired24, true},
        MembershipCase{"TrailingText", "10.98.0.57 ", kWired24, true}),
    [](const auto& info) { return info.param.name; });

TEST(NetworkAddressTest, ClearsTheHostBits) {
    EXPECT_EQ(NetworkAddress(kWired24), 0x0A620000u);
    EXPECT_EQ(NetworkAddress(kWired16), 0xAC100000u);
}

}  // namespace
}  // namespace kestrelink
