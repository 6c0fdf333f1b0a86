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

bool AskAppRetry(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, ApplicationName(), text,
                    QMessageBox::Retry | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}

}  // namespace kestrelink
