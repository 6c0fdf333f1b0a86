#include "faces/qt/several_devices_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "behaviour/control_ids.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/ip_address_edit.h"
#include "tests/faces/qt/support/device_simulator.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

template <typename Widget>
Widget* Control(QWidget& dialog, int id) {
    return dialog.findChild<Widget*>(QStringLiteral("control%1").arg(id));
}

QStringList TableColumn(const QTableWidget& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        cells << table.item(row, column)->text();
    }
    return cells;
}

}  // namespace

class SeveralDevicesDlgTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void sendConfiguresEveryCheckedDeviceAndShowsEachOutcome();
};

void SeveralDevicesDlgTest::sendConfiguresEveryCheckedDeviceAndShowsEachOutcome() {
    DeviceSimulator simulator;
    // Each device keeps announcing its old settings for a while, as one busy applying them.
    QVERIFY(simulator.Start({"--devices08", "1", "--devices32", "2", "--apply-delay", "300"}));
    MainWindowHarness window;
    QVERIFY(QTest::qWaitForWindowActive(&window.dialog));
    QTRY_COMPARE(window.model->rowCount(), 3);

    QStringList newIps;
    QStringList statuses;
    QString copied;
    ModalDriver<QMenu> menus(
        [](QMenu& menu) { Choose(menu, QStringLiteral("Configure &Several...")); });
    ModalDriver<CSeveralDevicesDlg> dialogs([&](CSeveralDevicesDlg& dialog) {
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&dialog));
        auto* start = Control<IpAddressEdit>(dialog, several_devices::kStartId);
        QVERIFY(start->isAncestorOf(QApplication::focusWidget()));
        // Start address, step, mask, gateway, DNS server, name pattern: in tab order.
        QTest::keyClicks(nullptr, QStringLiteral("10.213.5.10\t\t255.255.255.0\t10.213.5.1\t\t"
                                                 "cam-##"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        auto* table = Control<QTableWidget>(dialog, several_devices::kTableId);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(table));
        auto* summary = Control<QLabel>(dialog, several_devices::kSummaryId);
        QTRY_COMPARE_WITH_TIMEOUT(
            summary->text(), QStringLiteral("3 configured, 0 not confirmable, 0 failed"), 20000);
        newIps = TableColumn(*table, 6);
        statuses = TableColumn(*table, 8);
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->text();
        dialog.reject();
    });
    const QRect row = window.list->visualRect(window.model->index(0, 0));
    RightClick(*window.list, row.center());

    QCOMPARE(dialogs.Driven(), 1);
    QCOMPARE(dialogs.LeftOpen(), 0);
    QCOMPARE(newIps, (QStringList{"10.213.5.10", "10.213.5.11", "10.213.5.12"}));
    QCOMPARE(statuses.size(), 3);
    for (int index = 0; index < statuses.size(); ++index) {
        QVERIFY2(statuses[index].startsWith("configured: answers at " + newIps[index] + " as "),
                 qPrintable(statuses[index]));
    }
    const QStringList lines = copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first(), QStringLiteral("MAC\tSerial No\tProduct Name\tarch\tIP\tGiven "
                                           "Name\tNew IP\tNew Name\tStatus"));
    // The main list took in the devices' new announcements meanwhile.
    QTRY_VERIFY(window.RowOf(kColumnIp, QStringLiteral("10.213.5.12")) != -1);
    QVERIFY(window.RowOf(kColumnIp, QStringLiteral("10.213.5.10")) != -1);
}

QTEST_MAIN(SeveralDevicesDlgTest)
#include "several_devices_dlg_test.moc"
