#include "faces/win32/save_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

std::wstring DocumentsFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return {};
    }
    return folder;
}

// The system's dialog for a CSV file in the user's documents folder, starting at name; save or
// open.
std::optional<std::string> ChooseCsvFile(HWND owner, std::wstring_view title, std::string_view name,
                                         bool save) {
    // Long paths fit: the dialog writes no more than the buffer holds.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring suggested = Utf8ToWide(name);
    suggested.copy(file.data(), file.size() - 1);
    const std::wstring folder = DocumentsFolder();
    const std::wstring titleText(title);

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = titleText.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (save) {
        dialog.lpstrDefExt = L"csv";
    }
    if ((save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) == 0) {
        return std::nullopt;
    }
    return WideToUtf8(file.data());
}

}  // namespace

std::optional<std::string> ChooseCsvFileToSave(HWND owner, std::string_view suggestedName,
                                               std::wstring_view title) {
    return ChooseCsvFile(owner, title, suggestedName, true);
}

std::optional<std::string> ChooseCsvFileToOpen(HWND owner, std::wstring_view title) {
    return ChooseCsvFile(owner, title, {}, false);
}

}  // namespace kestrelink::win32
