#pragma once

namespace kestrelink {

class DialogFace;

// Help context of a dialog: 0x20000 plus its template id.
constexpr int HelpContextOf(int templateId) {
    return 0x20000 + templateId;
}

// F1 without Shift, Ctrl or Alt in a dialog: the help page at context, or "Failed to launch help."
// over the dialog.
void ShowHelp(DialogFace& dialog, int context);

}  // namespace kestrelink
