#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kestrelink::win32 {

// The system's save dialog titled "Export List" for a CSV file, starting at suggestedName in the
// user's documents folder, asking before it overwrites. The chosen path, UTF-8; nullopt when the
// user cancelled or the dialog could not open.
std::optional<std::string> ChooseCsvFileToSave(HWND owner, std::string_view suggestedName,
                                               std::wstring_view title = L"Export List");
// The system's open dialog titled title for an existing CSV file, in the user's documents folder.
// The chosen path, UTF-8; nullopt when the user cancelled.
std::optional<std::string> ChooseCsvFileToOpen(HWND owner, std::wstring_view title);

}  // namespace kestrelink::win32
