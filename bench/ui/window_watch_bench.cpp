// The main window watching a flat /16: 65,536 simulated devices listed, then Keep Watching on for
// five rounds of 15 s. The devices answer the first two rounds' probes in one burst each, with
// nothing in their rows changed, and then stop, so that the fifth round's end greys every row.
// Reports the longest time the user-interface thread was blocked while watching, whether the rows
// kept their order through the rounds, and the count beside the filter at the end. Opens sockets:
// run it in a private network, for example
//   scripts/in-private-network.sh build/bench/window_watch_bench
// Exit status 0 when every target is met, 1 when one is missed, 2 when it could not run.
#include <QApplication>
#include <QLabel>
#include <QString>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "behaviour/list_menu.h"
#include "bench/support/window_meters.h"
#include "faces/qt/device_list_menu.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/kestrelink_dlg.h"
#include "net/device_list.h"
#include "tools/lab/child_process.h"
#include "tools/lab/private_network.h"

using namespace kestrelink;
using kestrelink::bench::Inform;
using kestrelink::bench::Report;
using kestrelink::bench::RunEventLoopFor;

namespace {

constexpr int kPerFamily = 32768;
constexpr int kDevices = 2 * kPerFamily;
constexpr qint64 kBlockedAtMostMs = 50;
constexpr int kRoundMs = 15000;
constexpr int kListedWithinMs = 20000;

std::vector<std::string> Macs(const DeviceList& list) {
    std::vector<std::string> macs;
    for (int row = 0; row < list.RowCount(); ++row) {
        macs.push_back(list.CellText(row, kColumnMac));
    }
    return macs;
}

}  // namespace

int main(int argc, char* argv[]) {
    lab::RequirePrivateNetwork("window_watch_bench");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    auto simulator = std::make_unique<lab::ChildProcess>(
        KESTRELINK_DEVSIM_PATH,
        std::vector<std::string>{"--devices08", std::to_string(kPerFamily), "--devices32",
                                 std::to_string(kPerFamily), "--seed", "1", "--burst"});
    if (!simulator->WaitForLine("listening", std::chrono::seconds(5))) {
        std::fprintf(stderr, "window_watch_bench: the simulator did not start\n");
        return 2;
    }
    CKestrelinkDlg window;
    window.show();
    auto* list = window.findChild<DeviceListView*>();
    auto* model = qobject_cast<DeviceListModel*>(list->model());
    auto* menu = list->findChild<DeviceListMenu*>();
    auto* count = window.findChild<QLabel*>(QStringLiteral("control1013"));
    for (int waited = 0; waited < kListedWithinMs && model->List().RowCount() < kDevices;
         waited += 100) {
        RunEventLoopFor(100);
    }
    const int listed = model->List().RowCount();
    const std::vector<std::string> before = Macs(model->List());

    bench::BlockageMeter meter;
    emit menu->itemChosen(ListMenuAction::KeepWatching);
    RunEventLoopFor(kRoundMs + kRoundMs / 3);
    // The devices stop after answering two rounds' probes, and miss the next three.
    simulator.reset();
    RunEventLoopFor(4 * kRoundMs - kRoundMs / 3 + 1000);
    const qint64 longestBlock = meter.LongestMs();
    const double longestBusy = meter.LongestBusyMs();
    const bool kept = Macs(model->List()) == before;
    const QString expectedCount = QStringLiteral("65536 devices, 0 new, 0 changed, 65536 missing");

    std::printf("watching a flat /16, %d devices, five rounds:\n", kDevices);
    bool met = Report("rows listed before watching", listed, "65536", listed == kDevices);
    met &= Report("longest block of the user-interface thread, ms",
                  static_cast<double>(longestBlock), "<= 50", longestBlock <= kBlockedAtMostMs);
    Inform("  most processor time it spent between two ticks, ms", longestBusy);
    met &= Report("rows in the order they had before watching", kept ? 1 : 0, "1", kept);
    const bool counted = count->text() == expectedCount;
    met &= Report("count reads \"65536 devices, 0 new, 0 changed, 65536 missing\"", counted ? 1 : 0,
                  "1", counted);
    if (!counted) {
        std::printf("  count reads \"%s\"\n", count->text().toUtf8().constData());
    }
    return met ? 0 : 1;
}
