#include "tests/support/sentinel.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

namespace kestrelink::testing {
namespace {

constexpr std::array<std::uint8_t, 8> kSentinel{'s', 'e', 'n', 't', 'i', 'n', 'e', 'l'};

}  // namespace

std::span<const std::uint8_t> SentinelDatagram() {
    return kSentinel;
}

std::optional<std::vector<PeerDatagram>> DatagramsBeforeSentinel(LoopbackPeer& device) {
    LoopbackPeer sender;
    if (!sender.SendTo(kSentinel, device.Port())) {
        return std::nullopt;
    }
    std::vector<PeerDatagram> before;
    while (auto next = device.Receive(std::chrono::seconds(2))) {
        if (std::equal(next->bytes.begin(), next->bytes.end(), kSentinel.begin(),
                       kSentinel.end())) {
            return before;
        }
        before.push_back(std::move(*next));
    }
    return std::nullopt;
}

}  // namespace kestrelink::testing
