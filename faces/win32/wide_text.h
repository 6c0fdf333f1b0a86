#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kestrelink::win32 {

// The face speaks UTF-16 to the system; the rules above it speak UTF-8.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// Device texts are single-byte Latin-1: every byte is the code point of the same number.
std::wstring Latin1ToWide(std::string_view latin1);
// A control's text, UTF-8.
std::string WindowTextUtf8(HWND control);

}  // namespace kestrelink::win32
