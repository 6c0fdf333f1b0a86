#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdint>
#include <vector>

#include "behaviour/control_ids.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/ip_config_dlg.h"
#include "net/protocol.h"
#include "tests/faces/qt/support/device_simulator.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/message_box_catcher.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/sentinel.h"
#include "tools/device_protocol/device_datagrams.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

const QString kChangesSent =
    QStringLiteral("Changes sent.  Press Discover button in a short time to refresh.");
const QString kPortNotOpen = QStringLiteral(
    "Nothing was sent: the program's UDP port could not be opened at start-up.\n"
    "Check if another copy of the application is running.");
const QString kSendFailed =
    QStringLiteral("Failed to send the changes. Check the network connection and try again.");
const QString kPassword = QStringLiteral("s3cret");
const QString kDhcpPool = QStringLiteral("10.213.9.9");
// One device of each family; only requests carrying kPassword are applied.
const QStringList kSimulator{"--devices08", "1",       "--devices32", "1",
                             "--password",  kPassword, "--dhcp-pool", kDhcpPool};

// Keys go to whichever widget has the focus at that moment, as a user's keystrokes do.
void Type(const QString& keys) {
    QTest::keyClicks(static_cast<QWidget*>(nullptr), keys);
}

// Fills the dialog from the keyboard, control by control in tab order, and presses Send. An
// empty address ticks "Use DHCP" instead, which takes the address controls out of the tab order.
void FillAndSend(CIpConfigDlg& dialog, const QString& shownHostName, const QString& hostName,
                 const QString& address) {
    // Not qWaitForWindowActive: it counts a window active while its owner is.
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&dialog));
    auto* hostNameEdit =
        dialog.findChild<QLineEdit*>(QStringLiteral("control%1").arg(ip_config::kHostNameId));
    QCOMPARE(QApplication::focusWidget(), hostNameEdit);
    QCOMPARE(hostNameEdit->text(), shownHostName);
    QTest::keyClick(hostNameEdit, Qt::Key_A, Qt::ControlModifier);
    Type(hostName + QLatin1Char('\t'));
    if (address.isEmpty()) {
        Type(QStringLiteral(" \t"));
    } else {
        // The DNS server stays blank.
        Type(QLatin1Char('\t') + address + QStringLiteral("\t255.255.255.0\t10.213.9.1\t\t"));
    }
    Type(kPassword);
    QTest::mouseClick(
        dialog.findChild<QPushButton*>(QStringLiteral("control%1").arg(ip_config::kSendId)),
        Qt::LeftButton);
}

// The listener sends the start-up probe from a thread of its own, so a test that counts what
// reaches a 32-bit device takes the probe out of the way first.
bool TakeStartUpProbe(LoopbackPeer& device32) {
    const auto probe = device32.Receive(std::chrono::seconds(5));
    return probe && probe->bytes == std::vector<std::uint8_t>{0x5A, 0x5A, 0x00, 0x00};
}

// While it lives, the private network has no route to the broadcast address, as when the cable
// is out: every send to 255.255.255.255 fails at once.
class BroadcastRouteCut final {
public:
    BroadcastRouteCut() { m_cut = Route(QStringLiteral("del")); }
    ~BroadcastRouteCut() {
        if (m_cut) {
            Route(QStringLiteral("add"));
        }
    }
    Q_DISABLE_COPY_MOVE(BroadcastRouteCut)

    bool IsCut() const { return m_cut; }

private:
    static bool Route(const QString& change) {
        return QProcess::execute(QStringLiteral("ip"),
                                 {"route", change, "255.255.255.255", "dev", "lo"}) == 0;
    }

    bool m_cut = false;
};

}  // namespace

class KestrelinkDlgCfgIpTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void deviceIsListedWhereTheDialogSaid_data();
    void deviceIsListedWhereTheDialogSaid();
    void portHeldElsewhereIsReported();
    void retrySendsTheSameRequestOnceTheNetworkIsBack();
    void requestFollowsTheRowSelectedAtCfgIp_data();
    void requestFollowsTheRowSelectedAtCfgIp();
    void cancelSendsNothing();
};

void KestrelinkDlgCfgIpTest::deviceIsListedWhereTheDialogSaid_data() {
    QTest::addColumn<QString>("arch");
    QTest::addColumn<bool>("renamed");     // a 08bits request carries no host name
    QTest::addColumn<QString>("address");  // empty: Use DHCP, and the pool's first address
    QTest::newRow("08bits static") << "08bits" << false << "10.213.9.50";
    QTest::newRow("32bits static") << "32bits" << true << "10.213.9.60";
    QTest::newRow("32bits DHCP") << "32bits" << true << QString();
}

void KestrelinkDlgCfgIpTest::deviceIsListedWhereTheDialogSaid() {
    QFETCH(QString, arch);
    QFETCH(bool, renamed);
    QFETCH(QString, address);
    const QString listedIp = address.isEmpty() ? kDhcpPool : address;
    DeviceSimulator simulator;
    QVERIFY(simulator.Start(kSimulator));
    MainWindowHarness window;
    QVERIFY(QTest::qWaitForWindowActive(&window.dialog));
    QTRY_COMPARE(window.model->rowCount(), 2);
    const int row = window.RowOf(kColumnArch, arch);
    QVERIFY(row != -1);
    const QString mac = window.Cell(row, kColumnMac);
    const QString oldIp = window.Cell(row, kColumnIp);
    const QString givenName = window.Cell(row, kColumnGivenName);
    const QString hostName = QStringLiteral("renamed-") + arch;
    ClickRow(*window.list, row);

    QVERIFY(window.ConfigureIp(
        [&](CIpConfigDlg& dialog) { FillAndSend(dialog, givenName, hostName, address); }));
    QCOMPARE(window.boxes.Texts(), QStringList{kChangesSent});

    window.Press(main_window::kDiscoverId);
    QTRY_COMPARE(window.model->rowCount(), 2);
    const int moved = window.RowOf(kColumnMac, mac);
    QCOMPARE(window.Cell(moved, kColumnIp), listedIp);
    QCOMPARE(window.Cell(moved, kColumnGivenName), renamed ? hostName : givenName);
    QCOMPARE(window.RowOf(kColumnIp, oldIp), -1);
}

void KestrelinkDlgCfgIpTest::portHeldElsewhereIsReported() {
    LoopbackPeer holder(LOCAL_PORT);
    LoopbackPeer device(DEVICE_PORT_32);
    QVERIFY(holder.IsOpen() && device.IsOpen());
    MainWindowHarness window;
    window.model->List().InsertRow(
        {"10.213.9.40", "02:00:00:00:00:40", "DevSim", "unit-40", "1.0", "40", "32bits"});
    QVERIFY(QTest::qWaitForWindowActive(&window.dialog));
    ClickRow(*window.list, 0);

    QVERIFY(window.ConfigureIp([&](CIpConfigDlg& dialog) {
        FillAndSend(dialog, QStringLiteral("unit-40"), QStringLiteral("unit-41"),
                    QStringLiteral("10.213.9.41"));
    }));
    QCOMPARE(window.boxes.Caught().size(), 2);  // the port held, then the send
    QCOMPARE(window.boxes.Caught().last(), AppWarning(kPortNotOpen, &window.dialog));
    const auto sent = DatagramsBeforeSentinel(device);
    QVERIFY(sent);
    QCOMPARE(sent->size(), std::size_t{0});
}

void KestrelinkDlgCfgIpTest::retrySendsTheSameRequestOnceTheNetworkIsBack() {
    LoopbackPeer device(DEVICE_PORT_32);
    QVERIFY(device.IsOpen());
    MainWindowHarness window(MessageBoxCatcher::kLeaveOpen);
    window.model->List().InsertRow(
        {"10.213.9.40", "02:00:00:00:00:40", "DevSim", "unit-40", "1.0", "40", "32bits"});
    QVERIFY(QTest::qWaitForWindowActive(&window.dialog));
    QVERIFY(TakeStartUpProbe(device));
    ClickRow(*window.list, 0);
    auto cut = std::make_unique<BroadcastRouteCut>();
    QVERIFY(cut->IsCut());

    // Retry twice: once while the route is still away, once it is back.
    QList<CaughtMessageBox> boxes;
    ModalDriver<QMessageBox> answer([&](QMessageBox& box) {
        boxes << CaughtMessageBox::Of(box);
        if (boxes.size() == 2) {
            cut.reset();
        }
        box.button(box.text() == kSendFailed ? QMessageBox::Retry : QMessageBox::Ok)->click();
    });
    QVERIFY(window.ConfigureIp([&](CIpConfigDlg& dialog) {
        FillAndSend(dialog, QStringLiteral("unit-40"), QStringLiteral("unit-41"),
                    QStringLiteral("10.213.9.41"));
    }));

    CaughtMessageBox failed = AppWarning(kSendFailed, &window.dialog);
    failed.buttons = QMessageBox::Retry | QMessageBox::Cancel;
    failed.defaultButton = QMessageBox::Retry;
    QCOMPARE(boxes, (QList{failed, failed, AppWarning(kChangesSent, &window.dialog)}));
    // Once, with what was typed before the first try.
    const auto sent = DatagramsBeforeSentinel(device);
    QVERIFY(sent);
    QCOMPARE(sent->size(), std::size_t{1});
    const auto request = device::DecodeConfigRequest(device::Family::Bits32, sent->front().bytes);
    QVERIFY(request);
    QCOMPARE(request->macAddress, (MacAddress{0x02, 0x00, 0x00, 0x00, 0x00, 0x40}));
    QCOMPARE(request->ipAddress, 0x0ad50929u);  // 10.213.9.41
    QCOMPARE(request->hostName, std::string("unit-41"));
    QCOMPARE(request->password, kPassword.toStdString());
}

void KestrelinkDlgCfgIpTest::requestFollowsTheRowSelectedAtCfgIp_data() {
    QTest::addColumn<bool>("sortByIp");
    QTest::newRow("no sort column: newcomer on top") << false;
    QTest::newRow("IP ascending: newcomer sorts above") << true;
}

void KestrelinkDlgCfgIpTest::requestFollowsTheRowSelectedAtCfgIp() {
    QFETCH(bool, sortByIp);
    DeviceSimulator simulator;
    QVERIFY(simulator.Start(kSimulator));
    LoopbackPeer newcomer(DEVICE_PORT_32, LoopbackPeer::PortUse::Shared);
    QVERIFY(newcomer.IsOpen());
    MainWindowHarness window;
    QVERIFY(QTest::qWaitForWindowActive(&window.dialog));
    QTRY_COMPARE(window.model->rowCount(), 2);
    if (sortByIp) {
        ClickHeader(*window.list, kColumnIp);
        QVERIFY(!window.model->headerData(kColumnIp, Qt::Horizontal, Qt::DecorationRole).isNull());
    }
    ClickRow(*window.list, 0);
    const QString mac = window.Cell(0, kColumnMac);
    const QString oldIp = window.Cell(0, kColumnIp);
    const QString givenName = window.Cell(0, kColumnGivenName);

    QVERIFY(window.ConfigureIp([&](CIpConfigDlg& dialog) {
        QVERIFY(window.Announce(newcomer, "10.213.0.7", 7, "stranger"));
        QCOMPARE(window.Cell(0, kColumnIp), QStringLiteral("10.213.0.7"));
        QCOMPARE(window.RowOf(kColumnMac, mac), 1);
        FillAndSend(dialog, givenName, givenName, QStringLiteral("10.213.9.70"));
    }));
    QCOMPARE(window.boxes.Texts(), QStringList{kChangesSent});

    window.Press(main_window::kDiscoverId);
    QTRY_COMPARE(window.model->rowCount(), 2);
    const int moved = window.RowOf(kColumnMac, mac);
    QCOMPARE(window.Cell(moved, kColumnIp), QStringLiteral("10.213.9.70"));
    QCOMPARE(window.RowOf(kColumnIp, oldIp), -1);
}

void KestrelinkDlgCfgIpTest::cancelSendsNothing() {
    LoopbackPeer device(DEVICE_PORT_32);
    QVERIFY(device.IsOpen());
    MainWindowHarness window;
    QVERIFY(window.Announce(device, "10.0.0.2", 0x2a, "hub"));
    ClickRow(*window.list, 0);
    QVERIFY(TakeStartUpProbe(device));

    QVERIFY(window.ConfigureIp([&](CIpConfigDlg& dialog) {
        QCOMPARE(dialog.parentWidget(), &window.dialog);
        dialog.reject();
    }));

    const auto sent = DatagramsBeforeSentinel(device);
    QVERIFY(sent);
    QCOMPARE(sent->size(), std::size_t{0});
    QVERIFY(window.boxes.Caught().isEmpty());
}

QTEST_MAIN(KestrelinkDlgCfgIpTest)
#include "kestrelink_dlg_cfg_ip_test.moc"
