// The Win32 window under Wine beside a plain reader: 6,000 simulated devices, which the receive
// queue holds, answer each probe in one burst. Five rounds of Discover, taking turns with a plain
// reader that only drains a socket of its own: the median time from the probe to the last row
// listed beside the plain reader's, and how many rows each round listed.
//
// The simulator runs on the Linux side of the same private network; bench/win32/window_pace.sh
// starts both there:
//   bench/win32/window_pace.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
// Exit status 0 when every target is met, 1 when one is missed, 2 when the window did not open.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "behaviour/control_ids.h"
#include "behaviour/window_state.h"
#include "bench/support/plain_reader.h"
#include "faces/win32/main_window.h"
#include "tools/lab/private_network.h"

using namespace kestrelink;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kDevices = 6000;
constexpr std::chrono::milliseconds kPatience{60'000};
constexpr std::chrono::milliseconds kQuietEnd{3000};
constexpr std::chrono::milliseconds kLookEvery{2};

// The bench's window starts as on a first run and leaves no state behind.
class NoStateStorage final : public WindowStateStorage {
public:
    StoredWindowState Load() const override { return {}; }
    void Save(const WindowState&) override {}
};

struct Found {
    HWND dialog = nullptr;
};

BOOL CALLBACK NoteDialog(HWND window, LPARAM found) {
    if (IsWindowVisible(window) != FALSE && GetDlgItem(window, main_window::kListId) != nullptr) {
        reinterpret_cast<Found*>(found)->dialog = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD thread) {
    const Clock::time_point deadline = Clock::now() + kPatience;
    Found found;
    while (found.dialog == nullptr && Clock::now() < deadline) {
        EnumThreadWindows(thread, &NoteDialog, reinterpret_cast<LPARAM>(&found));
        std::this_thread::sleep_for(kLookEvery);
    }
    return found.dialog;
}

// The rows the list shows, asked of the window's thread as any other program could.
int ListedRows(HWND list) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 1000, &count);
    return static_cast<int>(count);
}

// Watches the list from probed until every device is listed or none has come for kQuietEnd.
bench::ListedRun Watch(HWND list, Clock::time_point probed) {
    bench::ListedRun run;
    Clock::time_point lastChange = probed;
    while (run.rows < kDevices && Clock::now() - lastChange < kQuietEnd &&
           Clock::now() - probed < kPatience) {
        std::this_thread::sleep_for(kLookEvery);
        const int rows = ListedRows(list);
        if (rows != run.rows) {
            lastChange = Clock::now();
            run.rows = rows;
            run.lastRowMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(lastChange - probed).count();
        }
    }
    return run;
}

// Clicks Discover, which empties the list and sends the probe pair before the send returns.
bench::ListedRun DiscoverAndWatch(HWND dialog) {
    const Clock::time_point probed = Clock::now();
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(main_window::kDiscoverId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, main_window::kDiscoverId)));
    return Watch(GetDlgItem(dialog, main_window::kListId), probed);
}

}  // namespace

int main() {
    if (const std::string foreign = lab::ForeignInterface(); !foreign.empty()) {
        std::fprintf(stderr, "window_pace_bench: refusing to run beside interface '%s'\n",
                     foreign.c_str());
        return 3;
    }
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    NoStateStorage storage;
    win32::MainWindow window(storage);
    bool opened = false;
    bool met = false;
    std::thread driver([&, thread = GetCurrentThreadId()] {
        const HWND dialog = WaitForMainWindow(thread);
        if (dialog == nullptr) {
            return;
        }
        opened = true;
        // The start-up probe's burst is listed before the rounds.
        const bench::ListedRun startUp =
            Watch(GetDlgItem(dialog, main_window::kListId), Clock::now());
        std::printf("start-up probe: %d rows listed\n", startUp.rows);
        const bench::BurstRounds rounds = bench::RunBurstRounds(
            [&] { return DiscoverAndWatch(dialog); },
            [] { return bench::DiscoverWithPlainReader(0, kDevices, kPatience, kQuietEnd); });
        std::printf("%d devices in one burst, Win32 window:\n", kDevices);
        const int fewest = bench::Median(rounds.listed).rows;
        std::printf("burst: fewest rows listed in a round: %d [target: %d: %s]\n", fewest, kDevices,
                    fewest == kDevices ? "met" : "MISSED");
        met = bench::ReportBurstRounds(rounds) && fewest == kDevices;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    window.Run();
    driver.join();
    std::fflush(stdout);
    if (!opened) {
        return 2;
    }
    return met ? 0 : 1;
}
