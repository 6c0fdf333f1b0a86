#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "faces/win32/dpi_scaling.h"

namespace kestrelink::win32 {

struct ControlAnchor {
    int templateId;
    int controlId;
    AnchorEdges edges;
};

// Places a dialog's controls after each change of its size, as their anchors say, and again
// under the font of another monitor's dots per inch: the places are kept in the dialog's units.
class AnchoredResize final {
public:
    AnchoredResize() = default;

    // At WM_INITDIALOG, while the controls stand as the template placed them, laid out under a
    // font of base units base at dpi. Controls without an anchor keep their place.
    void Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors,
                 DialogBase base, int dpi);
    // At WM_DPICHANGED, once the dialog's font is the one of base at dpi; Apply follows.
    void Rescale(DialogBase base, int dpi);
    // At WM_SIZE.
    void Apply(int clientWidth, int clientHeight) const;
    // The dialog's size as the template drew it, frame included: the least it can be made.
    SIZE MinimumTrackSize() const { return m_minimumTrack; }

private:
    struct Placed {
        HWND control;
        PixelRect start;
        AnchorEdges edges;
    };

    HWND m_dialog = nullptr;
    DialogBase m_base{};
    PixelRect m_startClient{};
    SIZE m_minimumTrack{};
    std::vector<Placed> m_controls;
};

}  // namespace kestrelink::win32
