#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>

namespace kestrelink {

struct NetworkInterface;

// How long after its probes a Discover round ends: answers come within a second or two.
inline constexpr std::chrono::milliseconds kDiscoverRoundLength{3000};

// The count beside the filter and its tooltip.
struct CountLabel {
    std::string text;
    std::string tooltip;

    bool operator==(const CountLabel&) const = default;
};

// What the count says once a round has ended with no device: the networks probed and, where the
// firewall was asked and lets the program in by no rule, that too.
CountLabel EmptyRoundLabel(std::span<const NetworkInterface> probed, bool firewallClosed);

// The count as DeviceCountText words it, or the empty round's label while the list stays empty.
CountLabel DeviceCountLabel(int shown, int total, bool filtering,
                            const std::optional<CountLabel>& emptyRound);

}  // namespace kestrelink
