#pragma once

#include <windows.h>

#include <optional>

namespace kestrelink {
enum class ListMenuAction;
}

namespace kestrelink::win32 {

// The device list's context menu at point (screen coordinates) over owner, until the user
// chooses; without onRow the items that need a row are greyed. The action chosen, if any.
std::optional<ListMenuAction> TrackListMenu(HWND owner, POINT point, bool onRow, bool anyRowShown);

}  // namespace kestrelink::win32
