#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "behaviour/control_ids.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/ip_config_dlg.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"

using namespace kestrelink;
using namespace kestrelink::main_window;
using namespace kestrelink::testing;

class DeviceListMenuTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void itemsActOnTheRowAsTheButtonsDo_data();
    void itemsActOnTheRowAsTheButtonsDo();
};

void DeviceListMenuTest::itemsActOnTheRowAsTheButtonsDo_data() {
    QTest::addColumn<int>("selected");  // the list's row 0 (10.0.0.2), 1 (10.0.0.1), or none
    QTest::addColumn<QString>("how");   // right-click on a row or empty space, a key
    QTest::addColumn<QString>("item");  // the item chosen from the menu, or "key" and a letter
    QTest::addColumn<bool>("rowItems");
    // The host names the IP dialog opened with, the browser's calls, the clipboard.
    QTest::addColumn<QStringList>("done");
    const QString row = "10.0.0.1\t0e:00:00:00:08:01\tKestrel Cam\tcamera\t2.1\t1\t08bits";
    QTest::newRow("right-click on a row selects it; Configure IP...")
        << 0 << "right-click row 1"
        << "&Configure IP..." << true << QStringList{"camera", "before"};
    QTest::newRow("right-click; Open Web Page")
        << -1 << "right-click row 1"
        << "Open &Web Page" << true << QStringList{"default|http://10.0.0.1", "before"};
    QTest::newRow("menu key; the mnemonic W opens the web page")
        << 1 << "menu key"
        << "key W" << true << QStringList{"default|http://10.0.0.1", "before"};
    QTest::newRow("right-click; Copy IP Address")
        << -1 << "right-click row 1"
        << "Copy &IP Address" << true << QStringList{"10.0.0.1"};
    QTest::newRow("menu key; Copy MAC Address")
        << 1 << "menu key"
        << "Copy &MAC Address" << true << QStringList{"0e:00:00:00:08:01"};
    QTest::newRow("Shift+F10; Copy Row") << 1 << "Shift+F10"
                                         << "Copy &Row" << true << QStringList{row};
    QTest::newRow("right-click on empty space") << 1 << "right-click"
                                                << "" << false << QStringList{"before"};
    QTest::newRow("Shift+F10 with no row selected") << -1 << "Shift+F10"
                                                    << "" << false << QStringList{"before"};
    QTest::newRow("Ctrl+C on a button") << 1 << "Ctrl+C"
                                        << "" << false << QStringList{row};
    QTest::newRow("Ctrl+C in the filter copies its text") << 1 << "Ctrl+C filter"
                                                          << "" << false << QStringList{"10.0"};
}

void DeviceListMenuTest::itemsActOnTheRowAsTheButtonsDo() {
    QFETCH(int, selected);
    QFETCH(QString, how);
    QFETCH(QString, item);
    QFETCH(bool, rowItems);
    QFETCH(QStringList, done);
    MainWindowHarness window;
    QVERIFY(window.List({{"10.0.0.1", 1, "camera"}, {"10.0.0.2", 0x2a, "hub"}}));
    if (selected != -1) {
        ClickRow(*window.list, selected);
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QStringList hostNames;
    ModalDriver<CIpConfigDlg> dialogs([&](CIpConfigDlg& dialog) {
        hostNames << dialog
                         .findChild<QLineEdit*>(
                             QStringLiteral("control%1").arg(ip_config::kHostNameId))
                         ->text();
    });
    QStringList items;
    ModalDriver<QMenu> menus([&](QMenu& menu) {
        items = MenuItems(menu);
        if (item.startsWith(QLatin1String("key "))) {
            QTest::keyClick(&menu, item.back().toLower().toLatin1());
        } else {
            Choose(menu, item);
        }
    });

    window.list->setFocus();
    if (how.startsWith(QLatin1String("right-click"))) {
        const QRect rowRect = window.list->visualRect(window.model->index(1, 0));
        RightClick(*window.list, how.endsWith(QLatin1String("row 1"))
                                     ? rowRect.center()
                                     : QPoint(10, window.list->viewport()->height() - 10));
    } else if (how == QLatin1String("menu key")) {
        PressMenuKey(*window.list);
    } else if (how == QLatin1String("Shift+F10")) {
        QTest::keyClick(window.list, Qt::Key_F10, Qt::ShiftModifier);
    } else {
        QWidget* focus = window.Button(kDiscoverId);
        if (how.endsWith(QLatin1String("filter"))) {
            focus = window.FilterField();
            window.FilterField()->setText(QStringLiteral("10.0"));
            window.FilterField()->selectAll();
        }
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
    }

    const bool menu = !how.startsWith(QLatin1String("Ctrl+C"));
    QCOMPARE(menus.Driven(), menu ? 1 : 0);
    if (menu) {
        const QString needsRow = rowItems ? QString() : QStringLiteral(" (disabled)");
        QCOMPARE(items, (QStringList{"&Configure IP..." + needsRow, "Configure &Several...",
                                     "Open &Web Page" + needsRow, "Copy &IP Address" + needsRow,
                                     "Copy &MAC Address" + needsRow, "Copy &Row" + needsRow,
                                     "&Export List...", "Compare With &List...",
                                     "Clear Com&parison (disabled)", "&Keep Watching"}));
    }
    QTRY_COMPARE(
        hostNames + window.browserCalls + QStringList{QGuiApplication::clipboard()->text()}, done);
    QVERIFY(window.boxes.Caught().isEmpty());
}

QTEST_MAIN(DeviceListMenuTest)
#include "device_list_menu_test.moc"
