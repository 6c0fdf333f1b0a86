#include "faces/win32/help_page.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>

#include "faces/win32/message_boxes.h"
#include "faces/win32/wide_text.h"

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

bool CarriedAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~/:!$&'()*+,;=@").find(static_cast<char>(c)) !=
               std::string_view::npos;
}

// The program that opens HTML files, or an empty text when the system names none.
std::wstring HtmlBrowser() {
    wchar_t program[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE | ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_EXECUTABLE,
                                 L".html", L"open", program, &size))) {
        return {};
    }
    return program;
}

bool Opened(HINSTANCE result) {
    // The shell's way of saying it worked: a value above 32.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

std::wstring HelpPageAddress(std::wstring_view path, int context) {
    std::wstring slashed(path);
    for (wchar_t& c : slashed) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    // A network path //server/share/... keeps its host; a drive path gets an empty one.
    std::string address = slashed.starts_with(L"//") ? "file:" : "file:///";
    for (const char c : WideToUtf8(slashed)) {
        const auto byte = static_cast<unsigned char>(c);
        if (CarriedAsIs(byte)) {
            address += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            address += escaped;
        }
    }
    return Utf8ToWide(address) + L"#context-" + std::to_wstring(context);
}

bool OpenHelpPage(int context) {
    const std::wstring path = HelpPagePath();
    if (path.empty()) {
        return false;
    }
    const std::wstring address = HelpPageAddress(path, context);
    // The shell drops the anchor of a file: address on its way to the default browser, so the
    // browser is given the address itself; the shell still opens the page when there is none.
    const std::wstring browser = HtmlBrowser();
    if (!browser.empty() &&
        Opened(ShellExecuteW(nullptr, L"open", browser.c_str(), (L"\"" + address + L"\"").c_str(),
                             nullptr, SW_SHOWNORMAL))) {
        return true;
    }
    return Opened(
        ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

bool HelpModifierHeld() {
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace kestrelink::win32
