#include "behaviour/empty_round.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/interfaces.h"

namespace kestrelink {
namespace {

const std::vector<NetworkInterface> kTwoAdapters = {
    {12, "Ethernet", 0x0A620001u, 24, {{0xC0A80101u, 24}}}, {7, "Wi-Fi", 0xAC100005u, 16}};

TEST(EmptyRoundLabelTest, NamesTheNetworksProbedAndAClosedFirewall) {
    EXPECT_EQ(EmptyRoundLabel(kTwoAdapters, false),
              (CountLabel{"No device answered",
                          "Probed: Ethernet 10.98.0.1/24 192.168.1.1/24, Wi-Fi 172.16.0.5/16"}));
    EXPECT_EQ(EmptyRoundLabel(std::span(kTwoAdapters).first(1), true),
              (CountLabel{"No device answered",
                          "Probed: Ethernet 10.98.0.1/24 192.168.1.1/24\nNo Windows Defender "
                          "Firewall rule lets Kestrelink in: answers may be blocked."}));
    EXPECT_EQ(EmptyRoundLabel({}, false),
              (CountLabel{"No device answered", "No network was probed: no adapter is up."}));
}

TEST(DeviceCountLabelTest, TheEmptyRoundShowsOnlyWhileTheListIsEmpty) {
    const CountLabel empty{"No device answered", "Probed: Wi-Fi 172.16.0.5/16"};
    EXPECT_EQ(DeviceCountLabel(0, 0, false, empty), empty);
    EXPECT_EQ(DeviceCountLabel(0, 0, true, empty), empty);
    EXPECT_EQ(DeviceCountLabel(1, 1, false, empty), (CountLabel{"1 device", ""}));
    EXPECT_EQ(DeviceCountLabel(0, 2, true, empty), (CountLabel{"0 of 2 devices", ""}));
    EXPECT_EQ(DeviceCountLabel(0, 0, false, std::nullopt), (CountLabel{"0 devices", ""}));
}

}  // namespace
}  // namespace kestrelink
