#include "faces/qt/list_export.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace kestrelink {
namespace {

// A write that the disk takes only in part, full or over a size limit, is no error to Qt's file
// engine; from behind a buffer the save file would put the cut file in place of the old one. So
// the file is written unbuffered, until all of it is out or a write fails and says why.
bool WriteWhole(QSaveFile& file, const QByteArray& bytes) {
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0) {
            return false;
        }
        written += step;
    }
    return true;
}

}  // namespace

QString ChooseExportFile(QWidget* owner, const QString& suggestedName) {
    QFileDialog dialog(owner, QStringLiteral("Export List"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("CSV files (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes) &&
        file.commit()) {
        return std::nullopt;
    }
    return file.errorString();
}

std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::optional<QString> failure =
        ReplaceFile(QString::fromStdString(path),
                    QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!failure) {
        return std::nullopt;
    }
    return failure->toStdString();
}

}  // namespace kestrelink
