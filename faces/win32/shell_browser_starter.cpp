#include "faces/win32/shell_browser_starter.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {

void ShellBrowserStarter::OpenWithDefaultHandler(std::string_view address) {
    ShellExecuteW(nullptr, nullptr, Utf8ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShellBrowserStarter::StartNamedBrowser(std::string_view program, std::string_view address) {
    ShellExecuteW(nullptr, L"open", Utf8ToWide(program).c_str(), Utf8ToWide(address).c_str(),
                  nullptr, SW_SHOW);
}

}  // namespace kestrelink::win32
