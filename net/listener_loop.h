#pragma once

#include <functional>

#include "net/udp_socket.h"

namespace kestrelink {

// The listener's cycle: wait, and read one datagram on each wake that finds one queued, until the
// stop arrives or the wait fails.
void ListenUntilStopped(const std::function<WakeReason()>& wait,
                        const std::function<void()>& readOne);

}  // namespace kestrelink
