#pragma once

#include <chrono>
#include <functional>

namespace kestrelink::win32 {

// Some of the system's refusals last a moment only: clipboard history or a remote desktop holding
// the clipboard, an antivirus or sync client reading a file just written.
struct RetryBudget {
    int tries;
    std::chrono::milliseconds pause;
};

// Calls attempt until it succeeds, until momentary says its failure is not one of those, or until
// budget.tries calls are spent, pausing budget.pause between two calls; whether it succeeded.
bool RetryWhileMomentary(const RetryBudget& budget, const std::function<bool()>& attempt,
                         const std::function<bool()>& momentary,
                         const std::function<void(std::chrono::milliseconds)>& pause);

// The pause of RetryWhileMomentary in the program: the calling thread sleeps.
void SleepFor(std::chrono::milliseconds duration);

}  // namespace kestrelink::win32
