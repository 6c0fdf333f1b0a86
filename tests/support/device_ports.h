#pragma once

#include <optional>

#include "tests/support/loopback_peer.h"
#include "tests/support/network_guard.h"

namespace kestrelink::testing {

// Stands in for one device of each family on its fixed port, opened only once the private-network
// check has passed. The ports are written out rather than taken from the program's constants, so
// that a wrong constant shows.
class DevicePortsTest : public PrivateNetworkTest {
protected:
    void SetUp() override;

    // The next datagram at each device port must be the probe of its family, from port 54320.
    void ExpectProbePair();
    // Nothing more arrives at either device port.
    void ExpectNothingMore();

    std::optional<LoopbackPeer> device08;
    std::optional<LoopbackPeer> device32;
};

}  // namespace kestrelink::testing
