#include "behaviour/help_request.h"

#include "behaviour/dialog_face.h"

namespace kestrelink {

void ShowHelp(DialogFace& dialog, int context) {
    if (!dialog.OpenHelpPage(context)) {
        dialog.ShowMessage("Failed to launch help.");
    }
}

}  // namespace kestrelink
