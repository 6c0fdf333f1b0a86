#include "net/listener_loop.h"

namespace kestrelink {

void ListenUntilStopped(const std::function<WakeReason()>& wait,
                        const std::function<void()>& readOne) {
    while (wait() == WakeReason::Readable) {
        readOne();
    }
}

}  // namespace kestrelink
