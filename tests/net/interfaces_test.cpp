#include "net/interfaces.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestrelink {
namespace {

// A laptop's wired port, 10.98.0.1/24; each case changes what it is about.
const InterfaceAddress kWired{.name = "enp3s0",
                              .index = 2,
                              .up = true,
                              .loopback = false,
                              .broadcast = true,
                              .address = 0x0A620001u,
                              .netmask = 0xFFFFFF00u};
const NetworkInterface kWiredProbed{2, "enp3s0", 0x0A620001u, 24};
// The same port holding 192.168.1.100/24 and 172.16.0.1/16 as well.
const NetworkInterface kWiredProbedWithTwoMore{
    2, "enp3s0", 0x0A620001u, 24, {{0xC0A80164u, 24}, {0xAC100001u, 16}}};

InterfaceAddress Wired(void (*change)(InterfaceAddress&)) {
    InterfaceAddress entry = kWired;
    change(entry);
    return entry;
}

struct FilterCase {
    const char* name;
    std::vector<InterfaceAddress> listed;
    std::vector<NetworkInterface> probed;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class BroadcastInterfacesTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(BroadcastInterfacesTest, KeepsEachUpBroadcastInterfaceOnce) {
    EXPECT_EQ(BroadcastInterfaces(GetParam().listed), GetParam().probed);
}

using Entry = InterfaceAddress&;
INSTANTIATE_TEST_SUITE_P(
    Listed, BroadcastInterfacesTest,
    ::testing::Values(FilterCase{"UpBroadcastIsProbed", {kWired}, {kWiredProbed}},
                      // Each condition on its own, whatever the other flags say.
                      FilterCase{"Down", {Wired([](Entry e) { e.up = false; })}, {}},
                      FilterCase{"Loopback", {Wired([](Entry e) { e.loopback = true; })}, {}},
                      FilterCase{"NoBroadcast", {Wired([](Entry e) { e.broadcast = false; })}, {}},
                      // Gone between listing its address and asking for its index.
                      FilterCase{"NoIndex", {Wired([](Entry e) { e.index = 0; })}, {}},
                      FilterCase{"FurtherAddressesOfTheSamePort",
                                 {kWired, Wired([](Entry e) { e.address = 0xC0A80164u; }),
                                  Wired([](Entry e) {
                                      e.address = 0xAC100001u;
                                      e.netmask = 0xFFFF0000u;
                                  })},
                                 {kWiredProbedWithTwoMore}},
                      FilterCase{"PrefixFromTheMask",
                                 {Wired([](Entry e) { e.netmask = 0xFFFF0000u; })},
                                 {{2, "enp3s0", 0x0A620001u, 16}}},
                      FilterCase{"EachPortInListedOrder",
                                 {Wired([](Entry e) {
                                      e.name = "wlp2s0";
                                      e.index = 3;
                                      e.address = 0xC0A8B20Au;
                                  }),
                                  kWired},
                                 {{3, "wlp2s0", 0xC0A8B20Au, 24}, kWiredProbed}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
