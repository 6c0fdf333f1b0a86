#include "tools/devsim/stop_signal.h"

namespace kestrelink::devsim {
namespace {

// The one thing a signal handler may safely touch.
volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int) {
    stopRequested = 1;
}

}  // namespace

StopSignals::StopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &m_previousTerm);
    ::sigaction(SIGINT, &action, &m_previousInt);

    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGTERM);
    sigaddset(&stopSet, SIGINT);
    ::sigprocmask(SIG_BLOCK, &stopSet, &m_previousMask);
    m_waitMask = m_previousMask;
    sigdelset(&m_waitMask, SIGTERM);
    sigdelset(&m_waitMask, SIGINT);
}

StopSignals::~StopSignals() {
    ::sigprocmask(SIG_SETMASK, &m_previousMask, nullptr);
    ::sigaction(SIGTERM, &m_previousTerm, nullptr);
    ::sigaction(SIGINT, &m_previousInt, nullptr);
}

bool StopSignals::Requested() const {
    return stopRequested != 0;
}

}  // namespace kestrelink::devsim
