#pragma once

#include <windows.h>

#include "faces/win32/dpi_scaling.h"
#include "faces/win32/handles.h"

namespace kestrelink::win32 {

// A dialog's font, as its template names it, made anew for each monitor's dots per inch; and
// the dialog base units it gives, which the controls' places follow.
class DialogFont final {
public:
    DialogFont() = default;
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    // At WM_INITDIALOG: the font the dialog manager made from the template at dpi.
    void Capture(HWND dialog, int dpi);
    // The font at dpi, given to the dialog and each of its controls; false when none could be
    // made, and the font stays as it was.
    bool ApplyForDpi(HWND dialog, int dpi);
    DialogBase Base() const { return m_base; }

private:
    LOGFONTW m_template{};
    int m_points = 8;
    DialogBase m_base{};
    Font m_font;
};

}  // namespace kestrelink::win32
