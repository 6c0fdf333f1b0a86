#include "tests/support/device_ports.h"

#include <chrono>
#include <cstdint>
#include <vector>

#include "net/endpoint.h"
#include "tests/support/sentinel.h"

namespace kestrelink::testing {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

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

void DevicePortsTest::ExpectNothingMore(Endpoint& endpoint) {
    const Bytes sentinel(SentinelDatagram().begin(), SentinelDatagram().end());
    for (auto* device : {&*device08, &*device32}) {
        ASSERT_TRUE(endpoint.SendToDevices(sentinel, device->Port()));
        const auto next = device->Receive(kArrival);
        ASSERT_TRUE(next) << "no sentinel at " << device->Port();
        EXPECT_EQ(next->bytes, sentinel) << "unexpected datagram at " << device->Port();
    }
}

}  // namespace kestrelink::testing
