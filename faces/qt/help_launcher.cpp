#include "faces/qt/help_launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QUrl>

#include "behaviour/help_request.h"
#include "faces/qt/app_message_box.h"

namespace kestrelink {
namespace {

constexpr auto kHelpPageName = "kestrelink.html";

// Beside the program in the build tree; in share/kestrelink/ once installed.
QString FindHelpPage() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {programDir.filePath(kHelpPageName),
          programDir.filePath(QStringLiteral("../share/kestrelink/") + kHelpPageName)}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

}  // namespace

void InstallHelpKey(QDialog* dialog, int templateId) {
    // F1 alone: with Shift, Ctrl or Alt held the key sequence differs and nothing is asked.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, dialog,
                     [dialog, templateId] { RequestHelp(dialog, HelpContextOf(templateId)); });
}

void RequestHelp(QWidget* owner, int context) {
    QtDialogFace face(owner);
    ShowHelp(face, context);
}

bool OpenHelpPageAt(int context) {
    const QString page = FindHelpPage();
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(QStringLiteral("context-%1").arg(context));
    return !page.isEmpty() && QDesktopServices::openUrl(url);
}

}  // namespace kestrelink
