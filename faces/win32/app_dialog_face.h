#pragma once

#include <windows.h>

#include "behaviour/dialog_face.h"

namespace kestrelink::win32 {

// The application's boxes and help for one dialog's rules, modal over that dialog.
class AppDialogFace final : public DialogFace {
public:
    // dialog: where the dialog keeps its handle, which is known only once the system has made it.
    explicit AppDialogFace(const HWND& dialog) : m_dialog(dialog) {}

    void ShowMessage(std::string_view text) override;
    bool AskRetry(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool OpenHelpPage(int context) override;

private:
    const HWND& m_dialog;
};

}  // namespace kestrelink::win32
