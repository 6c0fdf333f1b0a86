#pragma once

#include <string_view>

#include "behaviour/dialog_face.h"

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
// The same box with the question icon, Yes and No, No the default. True for Yes.
bool AskAppYesNo(QWidget* owner, const QString& text);

// The boxes and the help of a Qt dialog, for the behaviour's rules.
class QtDialogFace : public DialogFace {
public:
    explicit QtDialogFace(QWidget* owner) : m_owner(owner) {}

    void ShowMessage(std::string_view text) override;
    bool AskRetry(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool OpenHelpPage(int context) override;

private:
    QWidget* m_owner;
};

QString FromUtf8(std::string_view text);

}  // namespace kestrelink
