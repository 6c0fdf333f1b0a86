#include "faces/win32/app_dialog_face.h"

#include "faces/win32/help_page.h"
#include "faces/win32/message_boxes.h"

namespace kestrelink::win32 {

void AppDialogFace::ShowMessage(std::string_view text) {
    ShowAppMessage(m_dialog, text);
}

bool AppDialogFace::AskRetry(std::string_view text) {
    return AskAppRetry(m_dialog, text);
}

bool AppDialogFace::AskYesNo(std::string_view text) {
    return AskAppYesNo(m_dialog, text);
}

bool AppDialogFace::OpenHelpPage(int context) {
    return win32::OpenHelpPage(context);
}

}  // namespace kestrelink::win32
