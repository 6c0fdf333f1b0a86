#include <QStringList>
#include <QTest>
#include <QWidget>

#include "net/device_list.h"
#include "tests/ui/support/message_box_catcher.h"
#include "tests/ui/support/recording_browser.h"
#include "ui/web_launcher.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

const QString kNoSelection = QStringLiteral("Select IP address to open web page for.");
const QString kNotAnAddress =
    QStringLiteral("The device's IP address is not valid, so its web page cannot be opened.");

}  // namespace

class WebLauncherTest final : public QObject {
    Q_OBJECT

private slots:
    void opensTheSelectedRowsAddress_data();
    void opensTheSelectedRowsAddress();
};

void WebLauncherTest::opensTheSelectedRowsAddress_data() {
    QTest::addColumn<QStringList>("ips");   // the list's IP cells
    QTest::addColumn<QString>("selected");  // null: no row selected
    QTest::addColumn<bool>("forceIeOnly");
    QTest::addColumn<QString>("launch");   // empty: none
    QTest::addColumn<QString>("message");  // empty: none

    const auto opens = [](const char* name, const QString& ip, bool forceIeOnly,
                          const QString& launch) {
        // Below another row: the selected row is opened, not the top one.
        QTest::newRow(name) << QStringList{ip, "10.9.9.9"} << ip << forceIeOnly << launch
                            << QString();
    };
    opens("default handler", "10.1.2.3", false, "default|http://10.1.2.3");
    opens("forced browser", "10.1.2.3", true, "IExplore|http://10.1.2.3");
    opens("all zero", "0.0.0.0", false, "default|http://0.0.0.0");
    opens("all 255", "255.255.255.255", false, "default|http://255.255.255.255");

    QTest::newRow("empty list") << QStringList() << QString() << false << QString() << kNoSelection;
    QTest::newRow("rows, none selected")
        << QStringList{"10.0.0.1"} << QString() << true << QString() << kNoSelection;

    // The IP cell of a 32-bit device is whatever text the device sent.
    const auto refuses = [](const char* name, const QString& ip, bool forceIeOnly = false) {
        QTest::newRow(name) << QStringList{ip} << ip << forceIeOnly << QString() << kNotAnAddress;
    };
    refuses("host and path", "evil.example/x");
    refuses("address and path", "10.0.0.1/../");
    refuses("address and port", "10.0.0.1:8080");
    refuses("octet over 255", "10.0.0.256");
    refuses("four-digit octet", "1000.0.0.1");
    refuses("leading space", " 10.0.0.1");
    refuses("trailing space", "10.0.0.1 ");
    refuses("trailing newline", "10.0.0.1\n");
    refuses("script", "javascript:alert(1)");
    refuses("script, forced browser", "javascript:alert(1)", true);
    refuses("empty", "");
    refuses("three parts", "1.2.3");
    refuses("five parts", "1.2.3.4.5");
    refuses("empty part", "1..2.3");
    refuses("trailing dot", "1.2.3.4.");
    refuses("leading dot", ".1.2.3.4");
    refuses("plus sign", "+1.2.3.4");
    refuses("minus sign", "1.2.3.-4");
    refuses("hex octet", "0x7f.0.0.1");
    refuses("leading zero, read as octal by browsers", "010.0.0.1");
    refuses("one number", "167772161");
}

void WebLauncherTest::opensTheSelectedRowsAddress() {
    QFETCH(QStringList, ips);
    QFETCH(QString, selected);
    QFETCH(bool, forceIeOnly);
    QFETCH(QString, launch);
    QFETCH(QString, message);

    DeviceList list;
    for (const QString& ip : ips) {
        list.InsertRow(
            {ip.toStdString(), "00:11:22:33:44:55", "Camera", "gate", "1.0", "1234", "32bits"});
    }
    for (int row = 0; row < list.RowCount() && !selected.isNull(); ++row) {
        if (list.CellText(row, kColumnIp) == selected.toStdString()) {
            list.SelectRow(row);
        }
    }
    QStringList launches;
    RecordingBrowser browser(&launches);
    MessageBoxCatcher boxes;
    QWidget owner;

    OpenDeviceWebPage(&owner, list, forceIeOnly, browser);

    QCOMPARE(launches, launch.isEmpty() ? QStringList() : QStringList{launch});
    QCOMPARE(boxes.Caught(),
             message.isEmpty() ? QList<CaughtMessageBox>() : QList{AppWarning(message, &owner)});
}

QTEST_MAIN(WebLauncherTest)
#include "web_launcher_test.moc"
