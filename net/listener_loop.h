#pragma once

#include <chrono>
#include <functional>

#include "net/udp_socket.h"

namespace kestrelink {

// The system may refuse a wait for a moment (short of memory); only this many failures in a row,
// a pause apart, end the listener, which would otherwise spin on a wait that can only fail again.
inline constexpr int kWaitFailuresInRow = 5;
inline constexpr std::chrono::milliseconds kWaitRetryPause{50};

// The listener's cycle: wait, and read what is queued on each wake that finds something, until
// the stop arrives or kWaitFailuresInRow waits in a row have failed.
void ListenUntilStopped(const std::function<WakeReason()>& wait,
                        const std::function<void()>& readQueued);

}  // namespace kestrelink
