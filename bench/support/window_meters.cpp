#include "bench/support/window_meters.h"

#include <sys/resource.h>
#include <time.h>

#include <QEventLoop>
#include <algorithm>
#include <cstdio>

namespace kestrelink::bench {
namespace {

constexpr int kTickMs = 5;

double ThreadBusyMs() {
    timespec busy{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &busy);
    return static_cast<double>(busy.tv_sec) * 1000.0 + static_cast<double>(busy.tv_nsec) / 1e6;
}

}  // namespace

BlockageMeter::BlockageMeter() : m_lastBusyMs(ThreadBusyMs()) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &BlockageMeter::Tick);
    m_clock.start();
    m_timer.start(kTickMs);
}

void BlockageMeter::Tick() {
    const qint64 now = m_clock.elapsed();
    m_longest = std::max(m_longest, now - m_last - kTickMs);
    m_last = now;
    const double busyMs = ThreadBusyMs();
    m_longestBusyMs = std::max(m_longestBusyMs, busyMs - m_lastBusyMs);
    m_lastBusyMs = busyMs;
}

double PeakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void RunEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Report(const char* what, double value, const char* target, bool met) {
    std::printf("%-50s %9.2f  target %-10s %s\n", what, value, target, met ? "met" : "MISSED");
    return met;
}

void Inform(const char* what, double value) {
    std::printf("%-50s %9.2f\n", what, value);
}

}  // namespace kestrelink::bench
