#include "ui/app_message_box.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace kestrelink {

QString ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void ShowAppMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, ApplicationName(), text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace kestrelink
