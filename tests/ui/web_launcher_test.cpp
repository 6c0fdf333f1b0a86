#include <QStringList>
#include <QTest>
#include <QWidget>
#include <string>

#include "net/device_list.h"
#include "tests/ui/support/message_box_catcher.h"
#include "ui/app_message_box.h"
#include "ui/web_launcher.h"

using kestrelink::BrowserStarter;
using kestrelink::DeviceList;
using kestrelink::OpenDeviceWebPage;
using kestrelink::testing::MessageBoxCatcher;

namespace {

const QString kNoSelection = QStringLiteral("Select IP address to open web page for.");
const QString kNotAnAddress =
    QStringLiteral("The device's IP address is not valid, so its web page cannot be opened.");

// Each launch as "program|address", the default handler as "default".
class RecordingStarter final : public BrowserStarter {
public:
    RecordingStarter() = default;
    Q_DISABLE_COPY_MOVE(RecordingStarter)

    void OpenWithDefaultHandler(const QString& address) override {
        launches << QStringLiteral("default|") + address;
    }
    void StartNamedBrowser(const QString& program, const QString& address) override {
        launches << program + QLatin1Char('|') + address;
    }

    QStringList launches;
};

void AddRow(DeviceList& list, const std::string& ip, const std::string& mac) {
    list.InsertRow({ip, mac, "Camera", "gate", "1.0", "1234", "32bits"});
}

}  // namespace

class WebLauncherTest final : public QObject {
    Q_OBJECT

private slots:
    void launch_data();
    void launch();
    void usesTheSelectedRow();
    void refusesWhatIsNotAnAddress_data();
    void refusesWhatIsNotAnAddress();
    void noSelection_data();
    void noSelection();
};

void WebLauncherTest::launch_data() {
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("forceIeOnly");
    QTest::addColumn<QString>("launch");

    QTest::newRow("default handler") << "10.1.2.3" << false << "default|http://10.1.2.3";
    QTest::newRow("forced browser") << "10.1.2.3" << true << "IExplore|http://10.1.2.3";
    QTest::newRow("all zero") << "0.0.0.0" << false << "default|http://0.0.0.0";
    QTest::newRow("all 255") << "255.255.255.255" << false << "default|http://255.255.255.255";
}

void WebLauncherTest::launch() {
    QFETCH(QString, ip);
    QFETCH(bool, forceIeOnly);
    QFETCH(QString, launch);

    DeviceList list;
    AddRow(list, ip.toStdString(), "00:11:22:33:44:55");
    list.SelectRow(0);
    RecordingStarter starter;
    MessageBoxCatcher boxes;
    QWidget owner;

    OpenDeviceWebPage(&owner, list, forceIeOnly, starter);

    QCOMPARE(starter.launches, QStringList({launch}));
    QCOMPARE(boxes.Texts(), QStringList());
}

void WebLauncherTest::usesTheSelectedRow() {
    DeviceList list;
    AddRow(list, "10.0.0.1", "00:11:22:33:44:01");
    AddRow(list, "10.0.0.2", "00:11:22:33:44:02");
    const int row = list.CellText(0, kestrelink::kColumnIp) == "10.0.0.1" ? 0 : 1;
    list.SelectRow(row);
    RecordingStarter starter;
    QWidget owner;

    OpenDeviceWebPage(&owner, list, false, starter);

    QCOMPARE(starter.launches, QStringList({"default|http://10.0.0.1"}));
}

void WebLauncherTest::refusesWhatIsNotAnAddress_data() {
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("forceIeOnly");

    QTest::newRow("host and path") << "evil.example/x" << false;
    QTest::newRow("address and path") << "10.0.0.1/../" << false;
    QTest::newRow("address and port") << "10.0.0.1:8080" << false;
    QTest::newRow("octet over 255") << "10.0.0.256" << false;
    QTest::newRow("four-digit octet") << "1000.0.0.1" << false;
    QTest::newRow("leading space") << " 10.0.0.1" << false;
    QTest::newRow("trailing space") << "10.0.0.1 " << false;
    QTest::newRow("trailing newline") << "10.0.0.1\n" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("script, forced browser") << "javascript:alert(1)" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("three parts") << "1.2.3" << false;
    QTest::newRow("five parts") << "1.2.3.4.5" << false;
    QTest::newRow("empty part") << "1..2.3" << false;
    QTest::newRow("trailing dot") << "1.2.3.4." << false;
    QTest::newRow("leading dot") << ".1.2.3.4" << false;
    QTest::newRow("plus sign") << "+1.2.3.4" << false;
    QTest::newRow("minus sign") << "1.2.3.-4" << false;
    QTest::newRow("hex octet") << "0x7f.0.0.1" << false;
    QTest::newRow("leading zero, read as octal by browsers") << "010.0.0.1" << false;
    QTest::newRow("one number") << "167772161" << false;
}

void WebLauncherTest::refusesWhatIsNotAnAddress() {
    QFETCH(QString, ip);
    QFETCH(bool, forceIeOnly);

    DeviceList list;
    AddRow(list, ip.toStdString(), "00:11:22:33:44:55");
    list.SelectRow(0);
    RecordingStarter starter;
    MessageBoxCatcher boxes;
    QWidget owner;

    OpenDeviceWebPage(&owner, list, forceIeOnly, starter);

    QCOMPARE(starter.launches, QStringList());
    QCOMPARE(boxes.Texts(), QStringList({kNotAnAddress}));
    QCOMPARE(boxes.Caught().front().icon, QMessageBox::Warning);
    QCOMPARE(boxes.Caught().front().owner.data(), &owner);
}

void WebLauncherTest::noSelection_data() {
    QTest::addColumn<bool>("withRows");
    QTest::newRow("empty list") << false;
    QTest::newRow("rows, none selected") << true;
}

void WebLauncherTest::noSelection() {
    QFETCH(bool, withRows);

    DeviceList list;
    if (withRows) {
        AddRow(list, "10.0.0.1", "00:11:22:33:44:55");
    }
    RecordingStarter starter;
    MessageBoxCatcher boxes;
    QWidget owner;

    OpenDeviceWebPage(&owner, list, true, starter);

    QCOMPARE(starter.launches, QStringList());
    QCOMPARE(boxes.Texts(), QStringList({kNoSelection}));
    const auto& box = boxes.Caught().front();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, kestrelink::ApplicationName());
    QCOMPARE(box.owner.data(), &owner);
}

QTEST_MAIN(WebLauncherTest)
#include "web_launcher_test.moc"
