#include "app/kestrelink_app.h"

#include <QGuiApplication>
#include <memory>

#include "ui/kestrelink_dlg.h"

namespace kestrelink {

int CKestrelinkApp::InitInstance() {
    // Lets the desktop match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrelink.Kestrelink"));
    {
        // The window closes its endpoint and stops its listener as it is destroyed.
        const auto mainWindow = std::make_unique<CKestrelinkDlg>();
        mainWindow->exec();
    }
    return 0;
}

}  // namespace kestrelink
