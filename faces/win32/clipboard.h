#pragma once

#include <windows.h>

#include <string_view>

#include "behaviour/dialog_face.h"

namespace kestrelink::win32 {

// Puts text (UTF-8) on the clipboard as CF_UNICODETEXT, owned by owner, waiting a moment while
// another program holds it; false when it could not be opened or filled, and then it is left as
// it was.
bool SetClipboardUnicodeText(HWND owner, std::string_view text);

// The same, and when it fails a box that says why.
void SetClipboardTextOrSayWhy(HWND owner, DialogFace& boxes, std::string_view text);

}  // namespace kestrelink::win32
