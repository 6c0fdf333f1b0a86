#include "faces/win32/anchored_resize.h"

#include <algorithm>

#include "faces/win32/monitor_dpi.h"

namespace kestrelink::win32 {
namespace {

struct Collected {
    HWND dialog;
    std::vector<HWND> controls;
};

BOOL CALLBACK CollectChild(HWND control, LPARAM collected) {
    auto& into = *reinterpret_cast<Collected*>(collected);
    // The dialog's own controls, not the parts a control makes of itself (the list's header,
    // an address field's four edits).
    if (GetParent(control) == into.dialog) {
        into.controls.push_back(control);
    }
    return TRUE;
}

}  // namespace

void AnchoredResize::Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors,
                             DialogBase base, int dpi) {
    m_dialog = dialog;
    m_base = base;
    m_controls.clear();
    RECT client{};
    if (GetClientRect(dialog, &client) == 0) {
        return;
    }
    m_startClient = {0, 0, client.right, client.bottom};
    m_minimumTrack = WindowSizeForClient(dialog, {client.right, client.bottom}, dpi);
    Collected collected{dialog, {}};
    EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&collected));
    for (const HWND control : collected.controls) {
        const int id = GetDlgCtrlID(control);
        const auto anchor = std::find_if(anchors.begin(), anchors.end(), [&](const auto& a) {
            return a.templateId == templateId && a.controlId == id;
        });
        RECT rect{};
        if (GetWindowRect(control, &rect) == 0) {
            continue;
        }
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        m_controls.push_back({control,
                              {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top},
                              anchor != anchors.end() ? anchor->edges : AnchorEdges{}});
    }
}

void AnchoredResize::Rescale(DialogBase base, int dpi) {
    if (m_base.x <= 0 || m_base.y <= 0 || base.x <= 0 || base.y <= 0) {
        return;
    }
    for (Placed& placed : m_controls) {
        placed.start = RescaledRect(placed.start, m_base, base);
    }
    m_startClient = RescaledRect(m_startClient, m_base, base);
    m_minimumTrack =
        WindowSizeForClient(m_dialog, {m_startClient.width, m_startClient.height}, dpi);
    m_base = base;
}

void AnchoredResize::Apply(int clientWidth, int clientHeight) const {
    if (m_controls.empty()) {
        return;
    }
    const int growX = clientWidth - m_startClient.width;
    const int growY = clientHeight - m_startClient.height;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Placed& placed : m_controls) {
        const PixelRect rect = AnchoredRect(placed.start, placed.edges, growX, growY);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions != nullptr) {
            positions = DeferWindowPos(positions, placed.control, nullptr, rect.left, rect.top,
                                       rect.width, rect.height, flags);
        }
        if (positions == nullptr) {
            // Without a batch, each control is moved on its own: slower to draw, same result.
            SetWindowPos(placed.control, nullptr, rect.left, rect.top, rect.width, rect.height,
                         flags);
        }
    }
    if (positions != nullptr) {
        EndDeferWindowPos(positions);
    }
    InvalidateRect(m_dialog, nullptr, TRUE);
}

}  // namespace kestrelink::win32
