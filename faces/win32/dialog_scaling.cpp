#include "faces/win32/dialog_scaling.h"

#include <algorithm>

#include "faces/win32/monitor_dpi.h"

namespace kestrelink::win32 {

void DialogScaling::Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors) {
    m_dialog = dialog;
    m_dpi = WindowDpi(dialog);
    TakeOverDialogDpiChanges(dialog);
    m_font.Capture(dialog, m_dpi);
    m_anchors.Capture(dialog, templateId, anchors, m_font.Base(), m_dpi);
}

void DialogScaling::OnDpiChanged(int dpi, const RECT& suggested, bool resizable) {
    if (dpi <= 0) {
        return;
    }
    m_dpi = dpi;
    if (m_font.ApplyForDpi(m_dialog, dpi)) {
        m_anchors.Rescale(m_font.Base(), dpi);
    }
    const SIZE least = m_anchors.MinimumTrackSize();
    const SIZE size = resizable ? SIZE{std::max<LONG>(suggested.right - suggested.left, least.cx),
                                       std::max<LONG>(suggested.bottom - suggested.top, least.cy)}
                                : least;
    SetWindowPos(m_dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A size the window already had brings no WM_SIZE, and the places changed all the same.
    RECT client{};
    if (GetClientRect(m_dialog, &client) != 0) {
        m_anchors.Apply(client.right, client.bottom);
    }
}

}  // namespace kestrelink::win32
