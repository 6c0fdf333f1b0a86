#include "bench/support/window_meters.h"

#include <sys/resource.h>

#include <algorithm>

namespace kestrelink::bench {
namespace {

constexpr int kTickMs = 5;

}  // namespace

BlockageMeter::BlockageMeter() {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &BlockageMeter::Tick);
    m_clock.start();
    m_timer.start(kTickMs);
}

void BlockageMeter::Tick() {
    const qint64 now = m_clock.elapsed();
    m_longest = std::max(m_longest, now - m_last - kTickMs);
    m_last = now;
}

double PeakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace kestrelink::bench
