#pragma once

#include <optional>

#include "tests/support/loopback_peer.h"
#include "tests/support/network_guard.h"

namespace kestrelink {
class Endpoint;
}

namespace kestrelink::testing {

// Stands in for one device of each family on its fixed port, opened only once the private-network
// check has passed. The ports are written out rather than taken from the program's constants, so
// that a wrong constant shows.
class DevicePortsTest : public PrivateNetworkTest {
protected:
    void SetUp() override;

    // The next datagram at each device port must be the probe of its family, from port 54320.
    void ExpectProbePair();
    // Nothing more has been sent to either device port: a sentinel that endpoint sends now is
    // the next datagram at each.
    void ExpectNothingMore(Endpoint& endpoint);

    std::optional<LoopbackPeer> device08;
    std::optional<LoopbackPeer> device32;
};

}  // namespace kestrelink::testing
