#include "behaviour/repaint_pacer.h"

namespace kestrelink {

std::chrono::milliseconds RepaintPacer::HoldFor(Clock::time_point now) {
    const Clock::time_point due = m_lastRelease + m_period;
    if (m_lastRelease == Clock::time_point() || now >= due) {
        m_lastRelease = now;
        return std::chrono::milliseconds(0);
    }
    // Rounded up, so that the held repaint never comes before its time.
    return std::chrono::ceil<std::chrono::milliseconds>(due - now);
}

}  // namespace kestrelink
