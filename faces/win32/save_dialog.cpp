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

}  // namespace

std::optional<std::string> ChooseCsvFileToSave(HWND owner, std::string_view suggestedName,
                                               std::wstring_view title) {
    // Long paths fit: the dialog writes no more than the buffer holds.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring suggested = Utf8ToWide(suggestedName);
    suggested.copy(file.data(), file.size() - 1);
    const std::wstring folder = DocumentsFolder();

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    const std::wstring titleText(title);
    dialog.lpstrTitle = titleText.c_str();
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetSaveFileNameW(&dialog) == 0) {
        return std::nullopt;
    }
    return WideToUtf8(file.data());
}

std::optional<std::string> ChooseCsvFileToOpen(HWND owner, std::wstring_view title) {
    std::vector<wchar_t> file(32768, L'\0');
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
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetOpenFileNameW(&dialog) == 0) {
        return std::nullopt;
    }
    return WideToUtf8(file.data());
}

}  // namespace kestrelink::win32
