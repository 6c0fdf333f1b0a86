#pragma once

class QDialog;
class QWidget;

namespace kestrelink {

// Help context of a dialog: 0x20000 plus its template id.
constexpr int HelpContextOf(int templateId) {
    return 0x20000 + templateId;
}

// F1 without modifiers in dialog asks for help with the dialog's context.
void InstallHelpKey(QDialog* dialog, int templateId);

// Opens the help page beside the program at the anchor of context with the desktop's default
// handler; shows "Failed to launch help." when that fails.
void RequestHelp(QWidget* owner, int context);

}  // namespace kestrelink
