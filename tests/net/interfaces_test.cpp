#include "net/interfaces.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "tests/support/network_guard.h"

namespace kestrelink {
namespace {

// An Ethernet port as a laptop lists it; each case changes what it is about.
InterfaceAddress Wired(unsigned index = 2, const char* name = "enp3s0",
                       std::uint32_t address = 0x0A620001u) {  // 10.98.0.1
    return {.name = name,
            .index = index,
            .up = true,
            .loopback = false,
            .broadcast = true,
            .address = address,
            .netmask = 0xFFFFFF00u};
}

struct FilterCase {
    const char* name;
    std::vector<InterfaceAddress> listed;
    std::vector<NetworkInterface> probed;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

InterfaceAddress With(InterfaceAddress entry, void (*change)(InterfaceAddress&)) {
    change(entry);
    return entry;
}

const NetworkInterface kWired{2, "enp3s0", 0x0A620001u, 24};

class BroadcastInterfacesTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(BroadcastInterfacesTest, KeepsEachUpBroadcastInterfaceOnce) {
    EXPECT_EQ(BroadcastInterfaces(GetParam().listed), GetParam().probed);
}

INSTANTIATE_TEST_SUITE_P(
    Listed, BroadcastInterfacesTest,
    ::testing::Values(
        FilterCase{"UpBroadcastIsProbed", {Wired()}, {kWired}},
        // Each condition on its own, whatever the other flags say.
        FilterCase{"Down", {With(Wired(), [](InterfaceAddress& e) { e.up = false; })}, {}},
        FilterCase{
            "Loopback", {With(Wired(1, "lo"), [](InterfaceAddress& e) { e.loopback = true; })}, {}},
        // A point-to-point tunnel cannot carry a broadcast.
        FilterCase{"NoBroadcast",
                   {With(Wired(5, "tun0"), [](InterfaceAddress& e) { e.broadcast = false; })},
                   {}},
        // Gone between listing its address and asking for its index.
        FilterCase{"NoIndex", {Wired(0)}, {}},
        FilterCase{"SecondAddressOfTheSamePort",
                   {Wired(), Wired(2, "enp3s0", 0xC0A80164u)},  // 192.168.1.100
                   {kWired}},
        FilterCase{"PrefixFromTheMask",
                   {With(Wired(), [](InterfaceAddress& e) { e.netmask = 0xFFFF0000u; })},
                   {{2, "enp3s0", 0x0A620001u, 16}}},
        FilterCase{"WiFiAndWiredInListedOrder",
                   {Wired(3, "wlp2s0", 0xC0A8B20Au), Wired()},  // 192.168.178.10
                   {{3, "wlp2s0", 0xC0A8B20Au, 24}, kWired}}),
    [](const auto& info) { return info.param.name; });

// The system's own list, where the tests run: a private namespace with loopback alone.
class ListBroadcastInterfacesTest : public testing::PrivateNetworkTest {};

TEST_F(ListBroadcastInterfacesTest, LoopbackAloneLeavesNothingToSteerBy) {
    EXPECT_TRUE(ListBroadcastInterfaces().empty());
}

}  // namespace
}  // namespace kestrelink
