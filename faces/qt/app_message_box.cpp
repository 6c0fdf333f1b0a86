#include "faces/qt/app_message_box.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "faces/qt/help_launcher.h"

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

bool AskAppYesNo(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, ApplicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void QtDialogFace::ShowMessage(std::string_view text) {
    ShowAppMessage(m_owner, FromUtf8(text));
}

bool QtDialogFace::AskRetry(std::string_view text) {
    return AskAppRetry(m_owner, FromUtf8(text));
}

bool QtDialogFace::AskYesNo(std::string_view text) {
    return AskAppYesNo(m_owner, FromUtf8(text));
}

bool QtDialogFace::OpenHelpPage(int context) {
    return OpenHelpPageAt(context);
}

}  // namespace kestrelink
