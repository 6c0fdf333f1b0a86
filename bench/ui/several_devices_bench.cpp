// "Configure Several Devices" in the Qt window against 1,000 simulated devices, 500 of each
// family, that each take 2,000 ms to apply new settings (the simulator's --apply-delay): the
// dialog opened on the whole list, every device numbered from a start address, Send pressed.
// Reports the time from Send to the summary line, how many devices were configured, the
// longest time the user-interface thread was blocked meanwhile, and how long after its
// confirmation (the as-built record's confirmed_at) each row's Status showed it.
//
// Targets: every device configured, the summary within 4,000 ms of Send, the user-interface
// thread never blocked more than 50 ms, each status shown within 500 ms of its confirmation.
// Opens sockets: run it in a private network, for example
//   scripts/in-private-network.sh build/bench/several_devices_bench
// Exit status 0 when every target is met, 1 when one is missed, 2 when it could not run.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "behaviour/control_ids.h"
#include "behaviour/list_menu.h"
#include "bench/support/window_meters.h"
#include "faces/qt/device_list_menu.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/ip_address_edit.h"
#include "faces/qt/kestrelink_dlg.h"
#include "faces/qt/several_devices_dlg.h"
#include "net/csv.h"
#include "tools/lab/child_process.h"
#include "tools/lab/private_network.h"

using namespace kestrelink;
using kestrelink::bench::Inform;
using kestrelink::bench::Report;
using kestrelink::bench::RunEventLoopFor;

namespace {

constexpr int kDevicesPerFamily = 500;
constexpr int kDevices = 2 * kDevicesPerFamily;
constexpr qint64 kSummaryWithinMs = 4000;
constexpr qint64 kBlockedAtMostMs = 50;
constexpr qint64 kStatusWithinMs = 500;
constexpr int kRunLimitMs = 60000;
constexpr int kStatusColumn = 8;
constexpr int kConfirmedAtField = 16;
// A /20 that holds every new address and none of the simulator's own.
constexpr std::uint32_t kStart = 0x0AD51001;    // 10.213.16.1
constexpr std::uint32_t kMask = 0xFFFFF000;     // 255.255.240.0
constexpr std::uint32_t kGateway = 0x0AD51FFE;  // 10.213.31.254

template <typename Widget>
Widget* Control(QWidget& dialog, int id) {
    return dialog.findChild<Widget*>(QStringLiteral("control%1").arg(id));
}

struct Figures {
    bool ran = false;
    QString summary;
    qint64 sendToSummaryMs = -1;
    qint64 longestBlockMs = 0;
    double longestBusyMs = 0;
    qint64 slowestStatusMs = -1;
    int statusesTimed = 0;
};

// Drives the dialog from inside its modal run: fields, Send, the wait for the summary, the
// record saved to recordPath.
void Drive(CSeveralDevicesDlg& dialog, const QString& recordPath, Figures& figures) {
    Control<IpAddressEdit>(dialog, several_devices::kStartId)->SetAddress(kStart);
    Control<IpAddressEdit>(dialog, several_devices::kMaskId)->SetAddress(kMask);
    Control<IpAddressEdit>(dialog, several_devices::kGatewayId)->SetAddress(kGateway);
    auto* table = Control<QTableWidget>(dialog, several_devices::kTableId);
    auto* summary = Control<QLabel>(dialog, several_devices::kSummaryId);
    std::map<QString, qint64> shownAt;  // MAC: when its row showed "configured", wall clock ms
    QObject::connect(table, &QTableWidget::itemChanged, &dialog, [&](QTableWidgetItem* item) {
        if (item->column() == kStatusColumn && item->text().startsWith("configured")) {
            shownAt.emplace(table->item(item->row(), 0)->text(),
                            QDateTime::currentMSecsSinceEpoch());
        }
    });

    bench::BlockageMeter meter;
    QElapsedTimer sinceSend;
    sinceSend.start();
    Control<QPushButton>(dialog, several_devices::kSendId)->click();
    while (summary->text().isEmpty() && sinceSend.elapsed() < kRunLimitMs) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    figures.sendToSummaryMs = summary->text().isEmpty() ? -1 : sinceSend.elapsed();
    figures.summary = summary->text();
    figures.longestBlockMs = meter.LongestMs();
    figures.longestBusyMs = meter.LongestBusyMs();

    // The file dialog runs modally in turn: the record's path is chosen from inside it.
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, &chooser, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            files->selectFile(recordPath);
            QMetaObject::invokeMethod(files, "accept");
        }
    });
    chooser.start(20);
    Control<QPushButton>(dialog, several_devices::kSaveRecordId)->click();
    chooser.stop();

    QFile record(recordPath);
    if (!record.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "several_devices_bench: no record at %s\n", qPrintable(recordPath));
    } else {
        const CsvTable rows = ParseCsv(record.readAll().toStdString());
        for (std::size_t line = 1; line < rows.records.size(); ++line) {
            const std::vector<std::string>& fields = rows.records[line].fields;
            const auto shown = shownAt.find(QString::fromStdString(fields[0]));
            const QDateTime confirmed = QDateTime::fromString(
                QString::fromStdString(fields[kConfirmedAtField]), Qt::ISODateWithMs);
            if (shown != shownAt.end() && confirmed.isValid()) {
                figures.slowestStatusMs = std::max(figures.slowestStatusMs,
                                                   shown->second - confirmed.toMSecsSinceEpoch());
                ++figures.statusesTimed;
            }
        }
    }
    figures.ran = true;
    dialog.reject();
}

}  // namespace

int main(int argc, char* argv[]) {
    lab::RequirePrivateNetwork("several_devices_bench");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QDir::setCurrent(QDir::tempPath());
    const QString recordPath = QDir::temp().filePath(QStringLiteral("several_devices_bench.csv"));

    lab::ChildProcess simulator(KESTRELINK_DEVSIM_PATH,
                                {"--devices08", std::to_string(kDevicesPerFamily), "--devices32",
                                 std::to_string(kDevicesPerFamily), "--apply-delay", "2000"});
    if (!simulator.WaitForLine("listening", std::chrono::seconds(5))) {
        std::fprintf(stderr, "several_devices_bench: the simulator did not start\n");
        return 2;
    }
    CKestrelinkDlg window;
    window.show();
    auto* list = window.findChild<DeviceListView*>();
    auto* model = qobject_cast<DeviceListModel*>(list->model());
    auto* discover = window.findChild<QPushButton*>(QStringLiteral("control1001"));
    discover->click();
    for (int waited = 0; model->rowCount() < kDevices && waited < 10000; waited += 100) {
        RunEventLoopFor(100);
    }
    if (model->rowCount() < kDevices) {
        std::fprintf(stderr, "several_devices_bench: %d devices listed\n", model->rowCount());
        return 2;
    }

    Figures figures;
    QTimer opener;
    QObject::connect(&opener, &QTimer::timeout, &opener, [&] {
        if (auto* dialog = qobject_cast<CSeveralDevicesDlg*>(QApplication::activeModalWidget())) {
            opener.stop();
            Drive(*dialog, recordPath, figures);
        }
    });
    opener.start(20);
    emit window.findChild<DeviceListMenu*>()->itemChosen(ListMenuAction::ConfigureSeveral);
    QFile::remove(recordPath);
    if (!figures.ran) {
        return 2;
    }

    std::printf("%d devices, each applying its settings in 2,000 ms:\n", kDevices);
    const QString expected =
        QStringLiteral("%1 configured, 0 not confirmable, 0 failed").arg(kDevices);
    bool met = Report("every device configured (1 yes, 0 no)", figures.summary == expected ? 1 : 0,
                      "1", figures.summary == expected);
    met &= Report("Send to the summary line, ms", static_cast<double>(figures.sendToSummaryMs),
                  "<= 4000",
                  figures.sendToSummaryMs >= 0 && figures.sendToSummaryMs <= kSummaryWithinMs);
    met &= Report("longest block of the user-interface thread, ms",
                  static_cast<double>(figures.longestBlockMs), "<= 50",
                  figures.longestBlockMs <= kBlockedAtMostMs);
    Inform("  most processor time it spent between two ticks, ms", figures.longestBusyMs);
    Inform("rows whose status was timed against the record", figures.statusesTimed);
    met &= Report("slowest status after its confirmation, ms",
                  static_cast<double>(figures.slowestStatusMs), "<= 500",
                  figures.statusesTimed == kDevices && figures.slowestStatusMs <= kStatusWithinMs);
    return met ? 0 : 1;
}
