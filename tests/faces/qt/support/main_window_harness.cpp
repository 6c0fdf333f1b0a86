#include "tests/faces/qt/support/main_window_harness.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "behaviour/control_ids.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/ip_config_dlg.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/recording_browser.h"
#include "tests/support/loopback_peer.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink::testing {

std::vector<std::uint8_t> AnnouncementDatagram(DeviceFamily family, const std::string& ip,
                                               std::uint8_t macLast, const std::string& givenName) {
    const bool bits32 = family == DeviceFamily::Bits32;
    device::AnnouncementFields fields;
    fields.ipAddressText = ip;
    fields.ipAddress = ParseDottedQuad(ip).value_or(0);
    fields.macAddress = {0x0e, 0x00, 0x00, 0x00, std::uint8_t(bits32 ? 0x32 : 0x08), macLast};
    fields.productName = bits32 ? "Kestrel Hub" : "Kestrel Cam";
    fields.givenName = givenName;
    fields.version = "2.1";
    fields.serialNumber = macLast;
    return device::EncodeAnnouncement(bits32 ? device::Family::Bits32 : device::Family::Bits08,
                                      fields);
}

MainWindowHarness::MainWindowHarness(QMessageBox::StandardButton answer,
                                     const FakeRegistry& registry)
    : boxes(answer),
      dialog(std::make_unique<RecordingBrowser>(&browserCalls), registry),
      list(dialog.findChild<DeviceListView*>()),
      model(qobject_cast<DeviceListModel*>(list->model())) {
    dialog.show();
}

QPushButton* MainWindowHarness::Button(int id) const {
    return dialog.findChild<QPushButton*>(QStringLiteral("control%1").arg(id));
}

void MainWindowHarness::Press(int id) const {
    QTest::mouseClick(Button(id), Qt::LeftButton);
}

QLineEdit* MainWindowHarness::FilterField() const {
    return dialog.findChild<QLineEdit*>(QStringLiteral("control%1").arg(main_window::kFilterId));
}

QString MainWindowHarness::CountText() const {
    // The count follows inserted rows once the event loop comes round.
    QCoreApplication::sendPostedEvents();
    return dialog.findChild<QLabel*>(QStringLiteral("control%1").arg(main_window::kDeviceCountId))
        ->text();
}

QString MainWindowHarness::Cell(int row, int column) const {
    return model->index(row, column).data().toString();
}

bool MainWindowHarness::Announce(LoopbackPeer& device, const std::string& ip, std::uint8_t macLast,
                                 const std::string& givenName) const {
    const DeviceFamily family =
        device.Port() == DEVICE_PORT_32 ? DeviceFamily::Bits32 : DeviceFamily::Bits08;
    return device.SendTo(AnnouncementDatagram(family, ip, macLast, givenName), LOCAL_PORT) &&
           QTest::qWaitFor([&] { return RowOf(kColumnIp, QString::fromStdString(ip)) != -1; });
}

bool MainWindowHarness::List(std::initializer_list<Listing> devices) {
    LoopbackPeer device08(DEVICE_PORT_08);
    LoopbackPeer device32(DEVICE_PORT_32);
    if (!QTest::qWaitForWindowActive(&dialog)) {
        return false;
    }
    for (const Listing& device : devices) {
        LoopbackPeer& peer = device.family == DeviceFamily::Bits32 ? device32 : device08;
        if (!Announce(peer, device.ip, device.macLast, device.givenName)) {
            return false;
        }
    }
    return true;
}

int MainWindowHarness::RowOf(int column, const QString& text) const {
    const QModelIndexList found =
        model->match(model->index(0, column), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    return found.isEmpty() ? -1 : found.first().row();
}

bool MainWindowHarness::ConfigureIp(const std::function<void(CIpConfigDlg&)>& drive) const {
    ModalDriver<CIpConfigDlg> driver(drive);
    Press(main_window::kConfigureIpId);
    return driver.Driven() == 1 && driver.LeftOpen() == 0;
}

}  // namespace kestrelink::testing
