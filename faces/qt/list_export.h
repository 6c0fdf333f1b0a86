#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace kestrelink {

// The save dialog of Export List over owner, in the user's documents folder with suggestedName;
// the path the user chose, with the system's separators, or an empty text when cancelled.
QString ChooseExportFile(QWidget* owner, const QString& suggestedName);

// Replaces the file at path with bytes whole or not at all; nullopt on success, otherwise why it
// failed.
std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes);
// The same for the rules' UTF-8 texts.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace kestrelink
