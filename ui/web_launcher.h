#pragma once

#include <memory>

class QString;
class QWidget;

namespace kestrelink {

class DeviceList;

// How a web address reaches a browser; the desktop's implementation, or a fake in tests.
class BrowserStarter {
public:
    virtual ~BrowserStarter() = default;
    virtual void OpenWithDefaultHandler(const QString& address) = 0;
    virtual void StartNamedBrowser(const QString& program, const QString& address) = 0;
};

std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter();

// The Web action for the selected row of list.
void OpenDeviceWebPage(QWidget* owner, const DeviceList& list, bool forceIeOnly,
                       BrowserStarter& starter);

}  // namespace kestrelink
