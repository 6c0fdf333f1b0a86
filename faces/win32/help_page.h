#pragma once

namespace kestrelink::win32 {

// Opens the help page beside the program at the anchor of context with the default handler of
// HTML files; false when there is no page or nothing opened it.
bool OpenHelpPage(int context);

// F1 asks for help only alone, yet WM_HELP comes for it with Shift, Ctrl or Alt held too.
bool HelpModifierHeld();

}  // namespace kestrelink::win32
