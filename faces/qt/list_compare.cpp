#include "faces/qt/list_compare.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

namespace kestrelink {

QString ChooseListToCompare(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Compare With List"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("CSV files (*.csv)"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString& failure) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failure = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

}  // namespace kestrelink
