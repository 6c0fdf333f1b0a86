#pragma once

#include <chrono>
#include <cstdint>

namespace kestrelink::bench {

struct ListedRun {
    int rows = 0;
    long long lastRowMs = 0;  // after the probe
};

// How far behind the kernel's pace the intake may list the last row of a burst.
inline constexpr double kPaceTarget = 1.15;

// The time to the last row listed over the plain reader's; infinite when either listed nothing.
double PaceRatio(const ListedRun& listed, const ListedRun& plain);

// Sends the probe pair from port (0: any free one) and only drains the socket: no hand-over, no
// list. What it counts is what the kernel delivers, the pace the intake is measured against. It
// stops once expected announcements have come, when none has come for quietEnd, or at patience.
ListedRun DiscoverWithPlainReader(std::uint16_t port, int expected,
                                  std::chrono::milliseconds patience,
                                  std::chrono::milliseconds quietEnd);

}  // namespace kestrelink::bench
