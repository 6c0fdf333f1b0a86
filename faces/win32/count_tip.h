#pragma once

#include <windows.h>

#include <string>

namespace kestrelink::win32 {

// The tooltip of the count beside the filter: shown while the mouse rests on it, gone while its
// text is empty.
class CountTip final {
public:
    explicit CountTip(HWND label);
    ~CountTip();
    CountTip(const CountTip&) = delete;
    CountTip& operator=(const CountTip&) = delete;

    void SetText(const std::wstring& text);

private:
    HWND m_label;
    HWND m_tip;
    std::wstring m_text;
};

}  // namespace kestrelink::win32
