#include "ui/web_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>
#include <string_view>

#include "net/device_list.h"
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

// One to three digits, 0 to 255. A leading zero is refused: browsers read such a part as octal,
// so "010.0.0.1" would open 8.0.0.1, not the address the list shows.
bool IsOctet(std::string_view part) {
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part.front() == '0')) {
        return false;
    }
    int value = 0;
    for (const char c : part) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

// The IP cell of a 32-bit device is text a device sent, unchecked; only a plain address may
// follow "http://", never a host name, path, port or another scheme.
bool IsDottedQuad(std::string_view text) {
    int parts = 0;
    for (;;) {
        const std::size_t dot = text.find('.');
        if (!IsOctet(text.substr(0, dot))) {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) {
            return parts == 4;
        }
        text.remove_prefix(dot + 1);
    }
}

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
    if (!IsDottedQuad(ip)) {
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
