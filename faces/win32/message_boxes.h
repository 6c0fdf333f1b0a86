#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kestrelink::win32 {

// The full path of the running program; empty when the system cannot tell it.
std::wstring ProgramPath();

// The application's name: the program's file name without its extension, so that renaming the
// program renames every box's caption with it.
std::wstring ApplicationName();

// The application's boxes, modal over owner, captioned with its name; texts are UTF-8.

// The standard box: OK and the warning icon.
void ShowAppMessage(HWND owner, std::string_view text);
// Retry, the default, and Cancel; true for Retry.
bool AskAppRetry(HWND owner, std::string_view text);
// The question icon, Yes and No, No the default; true for Yes.
bool AskAppYesNo(HWND owner, std::string_view text);

}  // namespace kestrelink::win32
