#include "faces/win32/help_page.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "faces/win32/message_boxes.h"

namespace kestrelink::win32 {
namespace {

// The installer puts the page beside the programs, and so does the build.
std::wstring HelpPagePath() {
    std::wstring path = ProgramPath();
    if (path.empty()) {
        return {};
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    path += L"kestrelink.html";
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    return path;
}

}  // namespace

bool OpenHelpPage(int context) {
    const std::wstring path = HelpPagePath();
    if (path.empty()) {
        return false;
    }
    // A file name cannot carry an anchor, so the page goes to the shell as a file address.
    std::wstring address = L"file:///" + path + L"#context-" + std::to_wstring(context);
    for (wchar_t& c : address) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // The shell's way of saying it worked: a value above 32.
    return result > 32;
}

}  // namespace kestrelink::win32

namespace kestrelink::win32 {

bool HelpModifierHeld() {
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace kestrelink::win32
