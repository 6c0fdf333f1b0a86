#include "faces/win32/bounded_retry.h"

#include <thread>

namespace kestrelink::win32 {

bool RetryWhileMomentary(const RetryBudget& budget, const std::function<bool()>& attempt,
                         const std::function<bool()>& momentary,
                         const std::function<void(std::chrono::milliseconds)>& pause) {
    for (int tried = 1;; ++tried) {
        if (attempt()) {
            return true;
        }
        if (tried >= budget.tries || !momentary()) {
            return false;
        }
        pause(budget.pause);
    }
}

void SleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace kestrelink::win32
