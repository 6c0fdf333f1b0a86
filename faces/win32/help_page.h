#pragma once

#include <string>
#include <string_view>

namespace kestrelink::win32 {

// Opens the help page beside the program at the anchor of context in the browser that opens
// HTML files; false when there is no page or nothing opened it.
bool OpenHelpPage(int context);

// The file: address of the page at path (a drive or network path) at the anchor of context, with
// every character that an address cannot carry as it is percent-encoded in UTF-8.
std::wstring HelpPageAddress(std::wstring_view path, int context);

// F1 asks for help only alone, yet WM_HELP comes for it with Shift, Ctrl or Alt held too.
bool HelpModifierHeld();

}  // namespace kestrelink::win32
