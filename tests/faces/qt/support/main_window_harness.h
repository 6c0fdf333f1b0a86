#pragma once

#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "faces/qt/kestrelink_dlg.h"
#include "net/protocol.h"
#include "tests/behaviour/support/fake_registry.h"
#include "tests/faces/qt/support/message_box_catcher.h"

class QLineEdit;
class QPushButton;

namespace kestrelink {
class CIpConfigDlg;
class DeviceListModel;
class DeviceListView;
}  // namespace kestrelink

namespace kestrelink::testing {

class LoopbackPeer;

// A device's announcement, from outside the simulator's MAC range: 0e:00:00:00:<08 or 32>:macLast.
std::vector<std::uint8_t> AnnouncementDatagram(DeviceFamily family, const std::string& ip,
                                               std::uint8_t macLast,
                                               const std::string& givenName = "camera");

// One device for MainWindowHarness::List.
struct Listing {
    const char* ip;
    std::uint8_t macLast;
    const char* givenName;
    DeviceFamily family = DeviceFamily::Bits08;
};

// The main window, shown, with what the tests reach into; the Web action's launches go to
// browserCalls, boxes answers the message boxes from its construction on, and the window reads
// registry as the system's. It opens the program's UDP endpoint, so make one only in a
// PrivateNetworkQtTest.
class MainWindowHarness final {
public:
    explicit MainWindowHarness(QMessageBox::StandardButton answer = QMessageBox::Ok,
                               const FakeRegistry& registry = {});
    Q_DISABLE_COPY_MOVE(MainWindowHarness)

    QPushButton* Button(int id) const;
    void Press(int id) const;
    QLineEdit* FilterField() const;
    // The count beside the filter.
    QString CountText() const;
    QString Cell(int row, int column) const;
    // Announces a device from a peer on a device port, the port telling its family, and waits
    // until the list shows its address. False when it does not within a few seconds.
    bool Announce(LoopbackPeer& device, const std::string& ip, std::uint8_t macLast,
                  const std::string& givenName = "camera") const;
    // Once the window is active, announces the devices in turn from both device ports; false
    // unless each was listed. Binds the device ports while it runs.
    bool List(std::initializer_list<Listing> devices);
    // The first row whose cell in column reads text; -1 when none does.
    int RowOf(int column, const QString& text) const;
    // Presses Cfg IP and hands the dialog to drive once it runs modally. True when it opened
    // once and drive closed it.
    bool ConfigureIp(const std::function<void(CIpConfigDlg&)>& drive) const;

    QStringList browserCalls;
    MessageBoxCatcher boxes;
    CKestrelinkDlg dialog;
    DeviceListView* const list;
    DeviceListModel* const model;
};

}  // namespace kestrelink::testing
