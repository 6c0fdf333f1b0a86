#pragma once

#include <QtGlobal>
#include <memory>

class QString;
class QWidget;

namespace kestrelink {

class DeviceList;

// How a web address reaches a browser; the desktop's implementation, or a fake in tests.
class BrowserStarter {
public:
    BrowserStarter() = default;
    virtual ~BrowserStarter() = default;
    Q_DISABLE_COPY_MOVE(BrowserStarter)

    virtual void OpenWithDefaultHandler(const QString& address) = 0;
    // Starts program with address as its only argument.
    virtual void StartNamedBrowser(const QString& program, const QString& address) = 0;
};

// Failures to start a browser are silent.
std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter();

// The Web action for the selected row of list: "http://" and the row's IP cell, opened only when
// that cell is a dotted-quad IPv4 address.
void OpenDeviceWebPage(QWidget* owner, const DeviceList& list, bool forceIeOnly,
                       BrowserStarter& starter);

}  // namespace kestrelink
