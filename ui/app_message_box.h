#pragma once

class QString;
class QWidget;

namespace kestrelink {

// The application's name: the executable's file name without its extension, so that renaming the
// program renames every message box caption with it.
QString ApplicationName();

// The application's standard box: modal over owner, OK, warning icon, captioned with the
// application's name.
void ShowAppMessage(QWidget* owner, const QString& text);
// The same box for a failure that trying again may cure: Retry, the default, and Cancel. True
// when the user chose Retry.
bool AskAppRetry(QWidget* owner, const QString& text);

}  // namespace kestrelink
