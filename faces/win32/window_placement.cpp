#include "faces/win32/window_placement.h"

#include <algorithm>
#include <vector>

namespace kestrelink::win32 {
namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM screens) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info) != 0) {
        const RECT& area = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(screens)->push_back(
            {area.left, area.top, area.right - area.left, area.bottom - area.top});
    }
    return TRUE;
}

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&screens));
    return screens;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

WindowState PlaceWindow(HWND window, const StoredWindowState& saved) {
    const WindowState state = CheckedWindowState(saved, WorkAreas());
    const RECT frame = WindowRect(window);
    RECT client{};
    GetClientRect(window, &client);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    // The state holds the client area's size; the window is never made smaller than its template.
    if (state.size) {
        width = std::max(width, state.size->width + width - static_cast<int>(client.right));
        height = std::max(height, state.size->height + height - static_cast<int>(client.bottom));
    }
    POINT place{};
    if (state.position) {
        place = {state.position->x, state.position->y};
    } else {
        // The whole window, frame included, in the centre of the primary screen's work area.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        place = {work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2};
    }
    SetWindowPos(window, nullptr, place.x, place.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (state.maximized) {
        ShowWindow(window, SW_MAXIMIZE);
    }
    return state;
}

void NotePlacement(HWND window, WindowState& state) {
    state.maximized = IsZoomed(window) != 0;
    if (!state.maximized && IsIconic(window) == 0) {
        RECT client{};
        GetClientRect(window, &client);
        const RECT frame = WindowRect(window);
        state.size = WindowSize{client.right, client.bottom};
        state.position = WindowPoint{frame.left, frame.top};
    }
}

}  // namespace kestrelink::win32
