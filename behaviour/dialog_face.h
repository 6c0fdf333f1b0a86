#pragma once

#include <string_view>

namespace kestrelink {

// What every dialog of the program offers its rules, whichever toolkit draws it: the application's
// boxes, owned by that dialog, and its help. Calls come on the user-interface thread; texts are
// UTF-8.
class DialogFace {
public:
    DialogFace() = default;
    virtual ~DialogFace() = default;
    DialogFace(const DialogFace&) = delete;
    DialogFace& operator=(const DialogFace&) = delete;

    // The application's standard box: modal over this dialog, OK, the warning icon, captioned
    // with the application's name (the program's file name without its extension).
    virtual void ShowMessage(std::string_view text) = 0;
    // The same box with Retry, the default, and Cancel; true when the user chose Retry.
    virtual bool AskRetry(std::string_view text) = 0;
    // The same box with the question icon, Yes and No, No the default; true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
    // Opens the help page at the anchor of context ("context-<number>"); false when it cannot be
    // shown, and ShowHelp says so.
    virtual bool OpenHelpPage(int context) = 0;
};

}  // namespace kestrelink
