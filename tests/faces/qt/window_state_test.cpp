#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <functional>
#include <optional>

#include "app/kestrelink_app.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/kestrelink_dlg.h"
#include "net/device_list.h"
#include "net/protocol.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/message_box_catcher.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"
#include "tests/faces/qt/support/temporary_settings.h"
#include "tests/support/loopback_peer.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

// What a run of the program shows of the state it started with.
struct Seen {
    QRect geometry;
    bool maximized = false;
    QList<int> widths;
    HeaderArrow arrowOnIp = HeaderArrow::None;
    QStringList ips;  // after 10.0.0.2, 10.0.0.1 and 10.0.0.3 arrived, in that order
};

// Runs the program once as the user starts it; act gets the shown window and may change it, then
// the window closes. nullopt when the run went otherwise or a check inside it failed.
std::optional<Seen> RunProgram(const std::function<void(CKestrelinkDlg&)>& act = {}) {
    Seen seen;
    LoopbackPeer device(DEVICE_PORT_08);
    MessageBoxCatcher boxes;
    // A check that fails in here returns from this lambda only; the driver then closes the window
    // that was left open, and the caller ends the test.
    ModalDriver<CKestrelinkDlg> driver([&](CKestrelinkDlg& window) {
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = window.findChild<DeviceListView*>();
        auto* model = qobject_cast<DeviceListModel*>(list->model());
        seen.geometry = window.geometry();
        seen.maximized = window.isMaximized();
        for (int column = 0; column < kColumnCount; ++column) {
            seen.widths << list->header()->sectionSize(column);
        }
        seen.arrowOnIp = model->List().ArrowOn(kColumnIp);
        std::uint8_t mac = 0;
        for (const char* ip : {"10.0.0.2", "10.0.0.1", "10.0.0.3"}) {
            QVERIFY(
                device.SendTo(AnnouncementDatagram(DeviceFamily::Bits08, ip, ++mac), LOCAL_PORT));
        }
        QTRY_COMPARE(model->rowCount(), 3);
        seen.ips = ColumnTexts(*model, kColumnIp);
        if (act) {
            act(window);
        }
        window.close();
    });
    CKestrelinkApp application;
    application.InitInstance();
    if (QTest::currentTestFailed() || driver.Driven() != 1 || driver.LeftOpen() != 0 ||
        !boxes.Texts().isEmpty()) {
        qWarning() << "the program did not run as expected:" << boxes.Texts();
        return std::nullopt;
    }
    return seen;
}

bool Centred(const QRect& window) {
    const QPoint offset =
        window.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    return offset.manhattanLength() <= 2;
}

}  // namespace

class WindowStateTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void stateSurvivesARestart_data();
    void stateSurvivesARestart();
};

void WindowStateTest::stateSurvivesARestart_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<bool>("maximize");  // otherwise placed where the first run left it
    QTest::addColumn<int>("arrowOnIp");
    QTest::addColumn<QStringList>("ips");
    QTest::newRow("IP descending") << QList<int>{0, 0} << false << int(HeaderArrow::Down)
                                   << QStringList{"10.0.0.3", "10.0.0.2", "10.0.0.1"};
    QTest::newRow("maximised, IP ascending") << QList<int>{0} << true << int(HeaderArrow::Up)
                                             << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
}

void WindowStateTest::stateSurvivesARestart() {
    QFETCH(QList<int>, clicks);
    QFETCH(bool, maximize);
    QFETCH(int, arrowOnIp);
    QFETCH(QStringList, ips);
    TemporarySettings settings;
    QRect left;
    const std::optional<Seen> first = RunProgram([&](CKestrelinkDlg& window) {
        window.setGeometry(QRect(QPoint(5, 20), window.minimumSize() + QSize(40, 30)));
        left = window.geometry();
        auto* list = window.findChild<DeviceListView*>();
        list->header()->resizeSection(kColumnMac, 200);
        for (const int column : clicks) {
            ClickHeader(*list, column);
        }
        if (maximize) {
            window.showMaximized();
        }
    });
    QVERIFY(first);
    QVERIFY(Centred(first->geometry));
    QCOMPARE(first->widths, (QList<int>{100, 120, 150, 150, 80, 100, 100}));
    QCOMPARE(first->ips, (QStringList{"10.0.0.3", "10.0.0.1", "10.0.0.2"}));

    const std::optional<Seen> second = RunProgram();
    QVERIFY(second);
    QCOMPARE(second->maximized, maximize);
    if (!maximize) {
        QCOMPARE(second->geometry, left);
    }
    QCOMPARE(second->widths, (QList<int>{100, 200, 150, 150, 80, 100, 100}));
    QCOMPARE(int(second->arrowOnIp), arrowOnIp);
    QCOMPARE(second->ips, ips);
}

QTEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
