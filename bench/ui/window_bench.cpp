// The main window under a flood: 10,000 simulated devices answering one probe within 1,000 ms,
// with the IP column sorted. Reports how many rows were listed, the time from the probe to the
// last row, the longest time the user-interface thread was blocked, the peak memory, and how long
// header clicks on the full list take. Then the same devices answer in one burst, five rounds
// over: the median time from the probe to the last row listed, beside the median of a plain
// reader's of the same bursts, taking turns with the window.
// Opens sockets: run it in a private network, for example
//   scripts/in-private-network.sh build/bench/window_bench
// Exit status 0 when every target is met, 1 when one is missed.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/plain_reader.h"
#include "bench/support/window_meters.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/kestrelink_dlg.h"
#include "net/device_list.h"
#include "net/device_row.h"
#include "net/row_comparators.h"
#include "tools/lab/child_process.h"
#include "tools/lab/private_network.h"

using namespace kestrelink;
using kestrelink::bench::Inform;
using kestrelink::bench::Report;
using kestrelink::bench::RunEventLoopFor;

namespace {

constexpr int kDevicesPerFamily = 5000;
constexpr int kDevices = 2 * kDevicesPerFamily;
constexpr int kJitterMs = 1000;
constexpr qint64 kListedWithinMs = 1200;
constexpr qint64 kBlockedAtMostMs = 50;
constexpr double kPeakMemoryBelowMb = 120.0;
constexpr qint64 kResortWithinMs = 30;
constexpr std::chrono::milliseconds kPlainPatience{8000};
constexpr std::chrono::milliseconds kPlainQuietEnd{1000};

// timing: the simulator's --jitter or --burst option. Nullptr when it did not start.
std::unique_ptr<lab::ChildProcess> StartSimulator(const std::vector<std::string>& timing) {
    std::vector<std::string> arguments{"--devices08", std::to_string(kDevicesPerFamily),
                                       "--devices32", std::to_string(kDevicesPerFamily),
                                       "--seed",      "1"};
    arguments.insert(arguments.end(), timing.begin(), timing.end());
    auto simulator = std::make_unique<lab::ChildProcess>(KESTRELINK_DEVSIM_PATH, arguments);
    if (!simulator->WaitForLine("listening", std::chrono::seconds(5))) {
        return nullptr;
    }
    return simulator;
}

// Runs the event loop, as the window's modal run would, until quit or until timeoutMs have
// passed.
void RunEventLoop(QEventLoop& loop, int timeoutMs) {
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// Clicks Discover and runs the event loop until every device is listed, or for at most ten
// seconds. Returns the time from the click, which sends the probe pair, to the last row listed.
qint64 DiscoverAndWaitForAll(QPushButton& discover, DeviceListModel& model) {
    QElapsedTimer sinceProbe;
    qint64 lastRowMs = 0;
    QEventLoop allListed;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &allListed, [&] {
        lastRowMs = sinceProbe.elapsed();
        if (model.rowCount() == kDevices) {
            allListed.quit();
        }
    });
    sinceProbe.start();
    discover.click();
    RunEventLoop(allListed, 10 * kJitterMs);
    return lastRowMs;
}

}  // namespace

int main(int argc, char* argv[]) {
    lab::RequirePrivateNetwork("window_bench");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    // The window's own start-up probe finds no simulator yet; the measured probe is Discover's,
    // sent once the IP column is sorted.
    CKestrelinkDlg window;
    window.show();
    auto* list = window.findChild<DeviceListView*>();
    auto* model = qobject_cast<DeviceListModel*>(list->model());
    auto* discover = window.findChild<QPushButton*>(QStringLiteral("control1001"));
    emit list->header()->sectionClicked(kColumnIp);

    auto simulator = StartSimulator({"--jitter", std::to_string(kJitterMs)});
    if (!simulator) {
        std::fprintf(stderr, "window_bench: the simulator did not start\n");
        return 2;
    }
    RunEventLoopFor(200);

    bench::BlockageMeter meter;
    const qint64 lastRowMs = DiscoverAndWaitForAll(*discover, *model);
    RunEventLoopFor(300);  // stragglers, and the meter's view of the quiet after
    const qint64 longestBlock = meter.LongestMs();

    bool sorted = true;
    const DeviceList& rows = model->List();
    for (int row = 1; row < rows.RowCount() && sorted; ++row) {
        sorted = IpSortKey(rows.CellText(row - 1, kColumnIp)) <=
                 IpSortKey(rows.CellText(row, kColumnIp));
    }

    qint64 slowestResortMs = 0;
    for (const int column : {kColumnIp, kColumnMac, kColumnProductName, kColumnGivenName,
                             kColumnSerialNo, kColumnSerialNo}) {
        QElapsedTimer clock;
        clock.start();
        emit list->header()->sectionClicked(column);
        QCoreApplication::processEvents();  // the view's layout and repaint belong to the click
        slowestResortMs = std::max(slowestResortMs, clock.elapsed());
    }

    const double peakMb = bench::PeakMemoryMb();

    simulator.reset();  // the burst's simulator needs the device ports
    simulator = StartSimulator({"--burst"});
    if (!simulator) {
        std::fprintf(stderr, "window_bench: the burst simulator did not start\n");
        return 2;
    }
    RunEventLoopFor(200);
    // The window holds the local port; the simulator answers whichever port probed it.
    const bench::BurstRounds rounds = bench::RunBurstRounds(
        [&] {
            const qint64 lastRowMs = DiscoverAndWaitForAll(*discover, *model);
            return bench::ListedRun{model->rowCount(), lastRowMs};
        },
        [] { return bench::DiscoverWithPlainReader(0, kDevices, kPlainPatience, kPlainQuietEnd); });

    bool met = Report("rows listed", model->rowCount(), "10000", model->rowCount() == kDevices);
    met &= Report("rows in IP order (1 yes, 0 no)", sorted ? 1 : 0, "1", sorted);
    met &= Report("probe to last row, ms", static_cast<double>(lastRowMs), "<= 1200",
                  lastRowMs <= kListedWithinMs);
    met &= Report("longest block of the user-interface thread, ms",
                  static_cast<double>(longestBlock), "<= 50", longestBlock <= kBlockedAtMostMs);
    met &= Report("peak memory, MB", peakMb, "< 120", peakMb < kPeakMemoryBelowMb);
    met &= Report("slowest header click on the full list, ms", static_cast<double>(slowestResortMs),
                  "< 30", slowestResortMs < kResortWithinMs);
    const int fewestBurstRows = bench::Median(rounds.listed).rows;
    met &= Report("burst: fewest rows listed in a round", fewestBurstRows, "10000",
                  fewestBurstRows == kDevices);
    met &= bench::ReportBurstRounds(rounds);
    return met ? 0 : 1;
}
