#include "app/kestrelink_app.h"

#include <QGuiApplication>
#include <QSettings>
#include <memory>

#include "faces/qt/kestrelink_dlg.h"
#include "faces/qt/window_state.h"

namespace kestrelink {

int CKestrelinkApp::InitInstance() {
    // Lets the desktop match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrelink.Kestrelink"));
    // Where the window's state is kept: ~/.config/Kestrelink/kestrelink.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrelink"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrelink"));
    QSettings settings;
    SettingsWindowState storage(settings);
    {
        // The window closes its endpoint and stops its listener as it is destroyed.
        const auto mainWindow = std::make_unique<CKestrelinkDlg>();
        mainWindow->ApplyState(ReadWindowState(storage));
        mainWindow->exec();
        storage.Save(mainWindow->State());
    }
    return 0;
}

}  // namespace kestrelink
