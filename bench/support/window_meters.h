#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace kestrelink::bench {

// A timer that notes how late each of its ticks comes: the longest time the thread that runs it
// was busy. On a loaded machine a thread also waits for a processor, which the wall clock counts
// as busy; so the meter notes the thread's own processor time between ticks as well.
class BlockageMeter final : public QObject {
public:
    BlockageMeter();
    qint64 LongestMs() const { return m_longest; }
    // The most processor time the thread spent between two ticks.
    double LongestBusyMs() const { return m_longestBusyMs; }

private:
    void Tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    double m_lastBusyMs = 0;
    double m_longestBusyMs = 0;
};

// The most memory this process has held so far.
double PeakMemoryMb();

// Runs the event loop, as the window's modal run would, for ms.
void RunEventLoopFor(int ms);

// A line of the benchmark's table: a figure with its target and whether it is met; returns met.
bool Report(const char* what, double value, const char* target, bool met);
// A line of the table for a figure that has no target.
void Inform(const char* what, double value);

}  // namespace kestrelink::bench
