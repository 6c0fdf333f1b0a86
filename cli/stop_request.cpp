#include "cli/stop_request.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace kestrelink::cli {
namespace {

// Lock-free, so that a signal handler or the console's handler thread may set it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD control) {
    if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    stopRequested = true;
    return TRUE;
}
#else
struct sigaction previousTerm {};
struct sigaction previousInt {};

void OnStopSignal(int) {
    stopRequested = true;
}
#endif

}  // namespace

StopRequest::StopRequest() {
    stopRequested = false;
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &previousTerm);
    ::sigaction(SIGINT, &action, &previousInt);
#endif
}

StopRequest::~StopRequest() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
#else
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
#endif
}

bool StopRequest::Requested() const {
    return stopRequested;
}

}  // namespace kestrelink::cli
