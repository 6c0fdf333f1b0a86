#include "faces/win32/message_boxes.h"

#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ApplicationName() {
    const std::wstring path = ProgramPath();
    if (path.empty()) {
        return L"kestrelink";
    }
    const std::size_t nameStart = path.find_last_of(L"\\/") + 1;
    std::wstring name = path.substr(nameStart);
    if (const std::size_t dot = name.find_last_of(L'.'); dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return name;
}

namespace {

int ShowAppBox(HWND owner, std::string_view text, UINT flags) {
    return MessageBoxW(owner, Utf8ToWide(text).c_str(), ApplicationName().c_str(),
                       flags | MB_APPLMODAL);
}

}  // namespace

void ShowAppMessage(HWND owner, std::string_view text) {
    ShowAppBox(owner, text, MB_OK | MB_ICONEXCLAMATION);
}

bool AskAppRetry(HWND owner, std::string_view text) {
    return ShowAppBox(owner, text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

bool AskAppYesNo(HWND owner, std::string_view text) {
    return ShowAppBox(owner, text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kestrelink::win32
