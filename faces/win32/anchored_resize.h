#pragma once

#include <windows.h>

#include <span>
#include <vector>

namespace kestrelink::win32 {

// Which edges of a control keep their distance to the same edge of the window when it is resized:
// both of a pair stretch the control, one of them moves it, neither leaves it where it is.
struct AnchorEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

struct ControlAnchor {
    int templateId;
    int controlId;
    AnchorEdges edges;
};

// Places a resizable dialog's controls after each change of its size, as their anchors say.
class AnchoredResize final {
public:
    AnchoredResize() = default;

    // At WM_INITDIALOG, while the controls stand as the template placed them.
    void Capture(HWND dialog, int templateId, std::span<const ControlAnchor> anchors);
    // At WM_SIZE.
    void Apply(int clientWidth, int clientHeight) const;
    // The dialog's size as the template drew it, frame included: the least it can be made.
    SIZE MinimumTrackSize() const { return m_minimumTrack; }

private:
    struct Placed {
        HWND control;
        RECT start;
        AnchorEdges edges;
    };

    HWND m_dialog = nullptr;
    SIZE m_startClient{};
    SIZE m_minimumTrack{};
    std::vector<Placed> m_controls;
};

}  // namespace kestrelink::win32
