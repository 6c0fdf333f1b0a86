#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tests/support/loopback_peer.h"

namespace kestrelink::testing {

// A datagram that nothing under test sends. Sent to a device port once the code under test has
// sent all it will, it is the next datagram there exactly when nothing else came meanwhile, so no
// test has to take a silence for proof.
std::span<const std::uint8_t> SentinelDatagram();

// Sends the sentinel to device from a socket of its own and returns, in order, what device
// received before it; nullopt when the sentinel does not arrive within a few seconds. Loopback
// queues a datagram at its receiver before the send returns, so what this thread sent earlier,
// from any socket, is ahead of the sentinel.
std::optional<std::vector<PeerDatagram>> DatagramsBeforeSentinel(LoopbackPeer& device);

}  // namespace kestrelink::testing
