#pragma once

#include <QString>
#include <string>

#include "behaviour/file_contents.h"

class QWidget;

namespace kestrelink {

// The open dialog of Compare With List over owner, in the user's documents folder; the path the
// user chose, with the system's separators, or an empty text when cancelled.
QString ChooseListToCompare(QWidget* owner);

// The whole file at path, or why it could not be read.
FileContents ReadWholeFile(const std::string& path);

}  // namespace kestrelink
