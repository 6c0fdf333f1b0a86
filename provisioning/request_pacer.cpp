#include "provisioning/request_pacer.h"

#include <algorithm>

namespace kestrelink::provisioning {

RequestPacer::RequestPacer(PaceSettings settings)
    : m_interval(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
                 std::max(settings.requestsPerSecond, 1)),
      m_allowance(m_interval * (std::max(settings.burst, 1) - 1)) {}

RequestPacer::Clock::time_point RequestPacer::NextSlot(Clock::time_point now) {
    const Clock::time_point slot = std::max(now, m_scheduled - m_allowance);
    m_scheduled = std::max(slot, m_scheduled) + m_interval;
    return slot;
}

}  // namespace kestrelink::provisioning
