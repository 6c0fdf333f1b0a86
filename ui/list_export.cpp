#include "ui/list_export.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "net/csv.h"
#include "net/device_csv.h"
#include "net/device_list.h"
#include "ui/app_message_box.h"

namespace kestrelink {
namespace {

constexpr auto kNotSaved = "Failed to save the list to %1:\n%2";

// The window's seven columns under the command-line program's keys; the keys it has no column for
// are left out.
QByteArray DeviceListCsv(const DeviceList& list, const QList<int>& rows) {
    std::span<const std::string_view> keys(kDeviceCsvKeys.data(), kColumnCount);
    std::string csv = FormatCsvRecord(keys);
    for (const int row : rows) {
        // Cells hold the devices' single-byte text; the file is UTF-8, as the command-line
        // program writes it.
        std::array<std::string, kColumnCount> cells;
        std::array<std::string_view, kColumnCount> fields;
        for (int column = 0; column < kColumnCount; ++column) {
            const std::string& cell = list.CellText(row, column);
            cells[column] =
                QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size())).toStdString();
            fields[column] = cells[column];
        }
        csv += FormatCsvRecord(fields);
    }
    return QByteArray::fromStdString(csv);
}

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

QString ChooseFile(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Export List"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("CSV files (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(QStringLiteral("devices.csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace

void ExportDeviceList(QWidget* owner, const DeviceList& list, const QList<int>& rows) {
    const QByteArray csv = DeviceListCsv(list, rows);
    const QString path = ChooseFile(owner);
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, csv) &&
        file.commit()) {
        return;
    }
    ShowAppMessage(owner, QString::fromLatin1(kNotSaved).arg(QDir::toNativeSeparators(path),
                                                             file.errorString()));
}

}  // namespace kestrelink
