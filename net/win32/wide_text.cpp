#include "net/win32/wide_text.h"

#include <windows.h>

namespace kestrelink {

std::string WideToUtf8(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminator
    return text;
}

}  // namespace kestrelink
