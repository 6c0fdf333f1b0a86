#include "tests/support/device_ports.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace kestrelink::testing {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Long enough for a datagram on loopback to have arrived if it was sent at all.
constexpr auto kQuiet = 100ms;
constexpr auto kArrival = 2s;

}  // namespace

void DevicePortsTest::SetUp() {
    PrivateNetworkTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    device08.emplace(43210);
    device32.emplace(54321);
    ASSERT_TRUE(device08->IsOpen()) << "port 43210 is taken";
    ASSERT_TRUE(device32->IsOpen()) << "port 54321 is taken";
}

void DevicePortsTest::ExpectProbePair() {
    const auto probe08 = device08->Receive(kArrival);
    ASSERT_TRUE(probe08) << "no Probe08";
    EXPECT_EQ(probe08->bytes, (Bytes{0x5A, 0x5A}));
    EXPECT_EQ(probe08->sourcePort, 54320);
    const auto probe32 = device32->Receive(kArrival);
    ASSERT_TRUE(probe32) << "no Probe32";
    EXPECT_EQ(probe32->bytes, (Bytes{0x5A, 0x5A, 0x00, 0x00}));
    EXPECT_EQ(probe32->sourcePort, 54320);
}

void DevicePortsTest::ExpectNothingMore() {
    EXPECT_FALSE(device08->Receive(kQuiet)) << "unexpected datagram at 43210";
    EXPECT_FALSE(device32->Receive(kQuiet)) << "unexpected datagram at 54321";
}

}  // namespace kestrelink::testing
