#pragma once

#include <chrono>

namespace kestrelink {

// When a list that keeps changing is repainted: at once after a quiet spell, then at most once per
// period while changes keep coming. Thousands of devices answering at once change the list every
// few milliseconds, and a repaint after each change cost as much as the changes themselves; a
// view that follows a flood a few dozen times a second looks the same to the eye.
class RepaintPacer final {
public:
    using Clock = std::chrono::steady_clock;

    // Some twenty repaints a second for the device list while a flood of answers comes in.
    static constexpr std::chrono::milliseconds kListPeriod{48};

    explicit RepaintPacer(std::chrono::milliseconds period = kListPeriod) : m_period(period) {}

    // The list changed at now: zero when it may be repainted at once, otherwise how long the
    // repaint is to be held. A face that holds it calls Released when it lets it go.
    std::chrono::milliseconds HoldFor(Clock::time_point now);
    void Released(Clock::time_point now) { m_lastRelease = now; }

private:
    std::chrono::milliseconds m_period;
    Clock::time_point m_lastRelease;
};

}  // namespace kestrelink
