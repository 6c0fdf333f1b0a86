#include <QLineEdit>
#include <QTest>

#include "behaviour/control_ids.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "net/device_list.h"
#include "net/protocol.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/private_network_test.h"
#include "tests/support/loopback_peer.h"

using namespace kestrelink;
using namespace kestrelink::main_window;
using namespace kestrelink::testing;

namespace {

// The IPs the list shows, top to bottom.
QStringList ShownIps(const MainWindowHarness& window) {
    QStringList ips;
    for (int row = 0; row < window.model->rowCount(); ++row) {
        if (!window.list->isRowHidden(row, {})) {
            ips << window.Cell(row, kColumnIp);
        }
    }
    return ips;
}

}  // namespace

class ListFilterTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void hidesRowsOnlyInTheViewAndCountsThem();
};

void ListFilterTest::hidesRowsOnlyInTheViewAndCountsThem() {
    MainWindowHarness window;
    QVERIFY(window.List({{"10.0.0.1", 1, "site-41"},
                         {"10.0.0.2", 2, "Site-42", DeviceFamily::Bits32},
                         {"10.0.0.3", 3, "lobby"}}));
    QCOMPARE(window.CountText(), QStringLiteral("3 devices"));
    ClickRow(*window.list, window.RowOf(kColumnIp, QStringLiteral("10.0.0.3")));
    QTest::keyClicks(window.FilterField(), QStringLiteral("SITE"));
    QCOMPARE(ShownIps(window), (QStringList{"10.0.0.2", "10.0.0.1"}));
    QCOMPARE(ColumnTexts(*window.model, kColumnIp),
             (QStringList{"10.0.0.3", "10.0.0.2", "10.0.0.1"}));
    QCOMPARE(window.CountText(), QStringLiteral("2 of 3 devices"));
    // The lobby's row went out of sight, and with it the selection.
    QCOMPARE(window.model->List().SelectedRow(), -1);

    ClickHeader(*window.list, kColumnIp);
    ClickHeader(*window.list, kColumnIp);
    LoopbackPeer device(DEVICE_PORT_08);
    QVERIFY(window.Announce(device, "10.0.0.9", 9, "site-49"));
    QVERIFY(window.Announce(device, "10.0.0.8", 8, "hall"));
    // Dropped: its address is a hidden row's.
    QVERIFY(device.SendTo(AnnouncementDatagram(DeviceFamily::Bits08, "10.0.0.8", 7), LOCAL_PORT));
    QVERIFY(window.Announce(device, "10.0.0.4", 3, "lobby"));  // the lobby moves
    QCOMPARE(ColumnTexts(*window.model, kColumnIp),
             (QStringList{"10.0.0.9", "10.0.0.8", "10.0.0.4", "10.0.0.2", "10.0.0.1"}));
    QCOMPARE(ShownIps(window), (QStringList{"10.0.0.9", "10.0.0.2", "10.0.0.1"}));
    QCOMPARE(window.CountText(), QStringLiteral("3 of 5 devices"));

    // The lowest row shown is the device list's last.
    ClickRow(*window.list, 4);
    window.Press(kWebId);
    QCOMPARE(window.browserCalls, QStringList{"default|http://10.0.0.1"});

    window.Press(kDiscoverId);
    QCOMPARE(window.CountText(), QStringLiteral("0 of 0 devices"));
    QVERIFY(window.Announce(device, "10.0.0.3", 3, "lobby"));
    QCOMPARE(ShownIps(window), QStringList());
    window.FilterField()->clear();
    QCOMPARE(ShownIps(window), QStringList{"10.0.0.3"});
    QCOMPARE(window.CountText(), QStringLiteral("1 device"));
}

QTEST_MAIN(ListFilterTest)
#include "list_filter_test.moc"
