#include "ui/web_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>
#include <string>

#include "net/device_list.h"
#include "net/text_forms.h"
#include "ui/app_message_box.h"

namespace kestrelink {
namespace {

class DesktopBrowserStarter final : public BrowserStarter {
public:
    DesktopBrowserStarter() = default;
    Q_DISABLE_COPY_MOVE(DesktopBrowserStarter)

    void OpenWithDefaultHandler(const QString& address) override {
        QDesktopServices::openUrl(QUrl(address));
    }
    void StartNamedBrowser(const QString& program, const QString& address) override {
        QProcess::startDetached(program, {address});
    }
};

}  // namespace

std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter() {
    return std::make_unique<DesktopBrowserStarter>();
}

void OpenDeviceWebPage(QWidget* owner, const DeviceList& list, bool forceIeOnly,
                       BrowserStarter& starter) {
    const int row = list.SelectedRow();
    if (row < 0) {
        ShowAppMessage(owner, QStringLiteral("Select IP address to open web page for."));
        return;
    }
    const std::string& ip = list.CellText(row, kColumnIp);
    // The IP cell of a 32-bit device is text a device sent, unchecked; only a plain address may
    // follow "http://", never a host name, path, port or another scheme. "010.0.0.1" would
    // open 8.0.0.1, not the address the list shows.
    if (!ParseDottedQuad(ip)) {
        ShowAppMessage(owner, QStringLiteral("The device's IP address is not valid, so its web "
                                             "page cannot be opened."));
        return;
    }
    const QString address = QStringLiteral("http://") + QString::fromLatin1(ip);
    if (forceIeOnly) {
        starter.StartNamedBrowser(QStringLiteral("IExplore"), address);
    } else {
        starter.OpenWithDefaultHandler(address);
    }
}

}  // namespace kestrelink
