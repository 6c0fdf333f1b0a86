#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QWidget;

namespace kestrelink {

// The open dialog of Compare With List over owner, in the user's documents folder; the path the
// user chose, with the system's separators, or an empty text when cancelled.
QString ChooseListToCompare(QWidget* owner);

// The whole file at path; on failure nullopt, and failure says why.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString& failure);

}  // namespace kestrelink
