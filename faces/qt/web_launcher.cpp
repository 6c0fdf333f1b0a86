#include "faces/qt/web_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>

#include "behaviour/browser_starter.h"
#include "faces/qt/app_message_box.h"

namespace kestrelink {
namespace {

class DesktopBrowserStarter final : public BrowserStarter {
public:
    void OpenWithDefaultHandler(std::string_view address) override {
        QDesktopServices::openUrl(QUrl(FromUtf8(address)));
    }
    void StartNamedBrowser(std::string_view program, std::string_view address) override {
        QProcess::startDetached(FromUtf8(program), {FromUtf8(address)});
    }
};

}  // namespace

std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter() {
    return std::make_unique<DesktopBrowserStarter>();
}

}  // namespace kestrelink
