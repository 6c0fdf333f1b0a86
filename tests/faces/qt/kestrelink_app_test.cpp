#include <QApplication>
#include <QTest>

#include "app/kestrelink_app.h"
#include "faces/qt/kestrelink_dlg.h"
#include "net/protocol.h"
#include "tests/faces/qt/support/message_box_catcher.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"
#include "tests/faces/qt/support/temporary_settings.h"
#include "tests/support/loopback_peer.h"

using namespace kestrelink;
using namespace kestrelink::testing;

class KestrelinkAppTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void runsTheMainWindowOnceAndEndsWhenItCloses_data();
    void runsTheMainWindowOnceAndEndsWhenItCloses();

private:
    // The run keeps the window's state; never in the user's settings.
    TemporarySettings m_settings;
};

void KestrelinkAppTest::runsTheMainWindowOnceAndEndsWhenItCloses_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("close box") << false;
}

void KestrelinkAppTest::runsTheMainWindowOnceAndEndsWhenItCloses() {
    QFETCH(bool, escape);
    bool modal = false;
    bool parentless = false;
    ModalDriver<CKestrelinkDlg> closer([&](CKestrelinkDlg& window) {
        modal = window.isModal();
        parentless = window.parentWidget() == nullptr;
        if (escape) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else {
            window.close();
        }
    });

    MessageBoxCatcher boxes;
    CKestrelinkApp application;
    QCOMPARE(application.InitInstance(), 0);
    QCOMPARE(boxes.Texts(), QStringList());
    QCOMPARE(closer.Driven(), 1);
    QCOMPARE(closer.LeftOpen(), 0);
    QVERIFY(modal);
    QVERIFY(parentless);
    // The window is gone with its endpoint: nothing is left open and the port is free again.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY(qobject_cast<CKestrelinkDlg*>(widget) == nullptr);
    }
    QVERIFY(LoopbackPeer(LOCAL_PORT).IsOpen());
}

QTEST_MAIN(KestrelinkAppTest)
#include "kestrelink_app_test.moc"
