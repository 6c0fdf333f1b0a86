#pragma once

#include <signal.h>

namespace kestrelink::devsim {

// SIGTERM and SIGINT end the simulator between two steps of its loop. They stay blocked except
// inside the loop's wait, so that none can arrive between checking for it and going to sleep.
class StopSignals final {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Requested() const;
    // The signal mask for the wait: the stop signals let through.
    const sigset_t* WaitMask() const { return &m_waitMask; }

private:
    sigset_t m_waitMask;
    sigset_t m_previousMask;
    struct sigaction m_previousTerm;
    struct sigaction m_previousInt;
};

}  // namespace kestrelink::devsim
