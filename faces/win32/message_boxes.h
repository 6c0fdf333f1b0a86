#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kestrelink::win32 {

// The application's name: the program's file name without its extension, so that renaming the
// program renames every box's caption with it.
std::wstring ApplicationName();

// The application's boxes, modal over owner; text is UTF-8. Flags as MessageBoxW takes them; the
// result is MessageBoxW's, 0 when no box could be shown.
int ShowAppBox(HWND owner, std::string_view text, UINT flags);

}  // namespace kestrelink::win32
