#pragma once

#include <windows.h>

#include <span>

#include "faces/win32/anchored_resize.h"
#include "faces/win32/dialog_font.h"

namespace kestrelink::win32 {

// A dialog at the dots per inch of the monitor it is on: its font, its controls' places and its
// least size follow it from one monitor to another, in place of the dialog manager's scaling of
// the controls' places at start-up.
class DialogScaling final {
public:
    DialogScaling() = default;
    DialogScaling(const DialogScaling&) = delete;
    DialogScaling& operator=(const DialogScaling&) = delete;

    // At WM_INITDIALOG, once the controls stand where they start.
    void Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors);
    // At WM_DPICHANGED: the window goes where the system suggests, at least as large as its
    // template; one that cannot be resized keeps the template's size in dialog units.
    void OnDpiChanged(int dpi, const RECT& suggested, bool resizable);
    // At WM_SIZE.
    void Apply(int clientWidth, int clientHeight) const {
        m_anchors.Apply(clientWidth, clientHeight);
    }
    SIZE MinimumTrackSize() const { return m_anchors.MinimumTrackSize(); }
    int Dpi() const { return m_dpi; }

private:
    HWND m_dialog = nullptr;
    int m_dpi = kBaseDpi;
    DialogFont m_font;
    AnchoredResize m_anchors;
};

}  // namespace kestrelink::win32
