#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/kestrelink_app.h"
#include "net/protocol.h"
#include "tests/support/loopback_peer.h"
#include "tests/ui/support/message_box_catcher.h"
#include "tests/ui/support/private_network_check.h"
#include "ui/kestrelink_dlg.h"

using namespace kestrelink;

class KestrelinkAppTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void runsTheMainWindowOnceAndEndsWhenItCloses_data();
    void runsTheMainWindowOnceAndEndsWhenItCloses();
};

void KestrelinkAppTest::initTestCase() {
    const QString refusal = testing::RefusalOutsidePrivateNetwork();
    if (!refusal.isEmpty()) {
        QFAIL(qPrintable(refusal));
    }
}

void KestrelinkAppTest::runsTheMainWindowOnceAndEndsWhenItCloses_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("close box") << false;
}

void KestrelinkAppTest::runsTheMainWindowOnceAndEndsWhenItCloses() {
    QFETCH(bool, escape);
    int windowsSeen = 0;
    bool modal = false;
    bool parentless = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto* window = qobject_cast<CKestrelinkDlg*>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible()) {
            return;
        }
        ++windowsSeen;
        modal = window->isModal();
        parentless = window->parentWidget() == nullptr;
        if (escape) {
            QTest::keyClick(window, Qt::Key_Escape);
        } else {
            window->close();
        }
    });
    closer.start(20);

    testing::MessageBoxCatcher boxes;
    CKestrelinkApp application;
    QCOMPARE(application.InitInstance(), 0);
    closer.stop();
    QCOMPARE(boxes.Texts(), QStringList());
    QCOMPARE(windowsSeen, 1);
    QVERIFY(modal);
    QVERIFY(parentless);
    // The window is gone with its endpoint: nothing is left open and the port is free again.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY(qobject_cast<CKestrelinkDlg*>(widget) == nullptr);
    }
    QVERIFY(testing::LoopbackPeer(LOCAL_PORT).IsOpen());
}

QTEST_MAIN(KestrelinkAppTest)
#include "kestrelink_app_test.moc"
