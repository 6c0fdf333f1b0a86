#pragma once

class QDialog;
class QWidget;

namespace kestrelink {

// F1 without modifiers in dialog asks for help with the dialog's context.
void InstallHelpKey(QDialog* dialog, int templateId);

// Help at context over owner, as F1 asks for it.
void RequestHelp(QWidget* owner, int context);

// Opens the help page beside the program at the anchor of context with the desktop's default
// handler; false when there is no page or no handler.
bool OpenHelpPageAt(int context);

}  // namespace kestrelink
