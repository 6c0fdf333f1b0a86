#include "faces/win32/anchored_resize.h"

namespace kestrelink::win32 {
namespace {

// One dimension: the start and end of the control along it, given the window's growth.
void Follow(LONG& start, LONG& end, bool nearAnchored, bool farAnchored, int growth) {
    if (farAnchored) {
        end += growth;
        if (!nearAnchored) {
            start += growth;
        }
    }
}

}  // namespace

void AnchoredResize::Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors) {
    m_dialog = dialog;
    m_controls.clear();
    RECT client{};
    RECT window{};
    if (GetClientRect(dialog, &client) == 0 || GetWindowRect(dialog, &window) == 0) {
        return;
    }
    m_startClient = {client.right, client.bottom};
    m_minimumTrack = {window.right - window.left, window.bottom - window.top};
    for (const ControlAnchor& anchor : anchors) {
        if (anchor.templateId != templateId) {
            continue;
        }
        const HWND control = GetDlgItem(dialog, anchor.controlId);
        RECT rect{};
        if (control == nullptr || GetWindowRect(control, &rect) == 0) {
            continue;
        }
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        m_controls.push_back({control, rect, anchor.edges});
    }
}

void AnchoredResize::Apply(int clientWidth, int clientHeight) const {
    if (m_controls.empty()) {
        return;
    }
    const int growX = clientWidth - m_startClient.cx;
    const int growY = clientHeight - m_startClient.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Placed& placed : m_controls) {
        RECT rect = placed.start;
        Follow(rect.left, rect.right, placed.edges.left, placed.edges.right, growX);
        Follow(rect.top, rect.bottom, placed.edges.top, placed.edges.bottom, growY);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions != nullptr) {
            positions = DeferWindowPos(positions, placed.control, nullptr, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, flags);
        }
        if (positions == nullptr) {
            // Without a batch, each control is moved on its own: slower to draw, same result.
            SetWindowPos(placed.control, nullptr, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, flags);
        }
    }
    if (positions != nullptr) {
        EndDeferWindowPos(positions);
    }
    InvalidateRect(m_dialog, nullptr, TRUE);
}

}  // namespace kestrelink::win32
