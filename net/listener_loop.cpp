#include "net/listener_loop.h"

#include <thread>

namespace kestrelink {

void ListenUntilStopped(const std::function<WakeReason()>& wait,
                        const std::function<void()>& readQueued) {
    int failuresInRow = 0;
    for (;;) {
        switch (wait()) {
            case WakeReason::Stop:
                return;
            case WakeReason::Readable:
                failuresInRow = 0;
                readQueued();
                break;
            case WakeReason::Failed:
                if (++failuresInRow == kWaitFailuresInRow) {
                    return;
                }
                std::this_thread::sleep_for(kWaitRetryPause);
                break;
        }
    }
}

}  // namespace kestrelink
