#include "bench/support/window_meters.h"

#include <sys/resource.h>

#include <QEventLoop>
#include <algorithm>
#include <cstdio>

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
