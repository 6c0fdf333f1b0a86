#include "ui/web_launcher.h"

// Temporary body until the launcher lands; replaced by its real implementation.
namespace kestrelink {

namespace {
class NoBrowser final : public BrowserStarter {
public:
    void OpenWithDefaultHandler(const QString&) override {}
    void StartNamedBrowser(const QString&, const QString&) override {}
};
}  // namespace

std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter() {
    return std::make_unique<NoBrowser>();
}

void OpenDeviceWebPage(QWidget*, const DeviceList&, bool, BrowserStarter&) {}

}  // namespace kestrelink
