#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace kestrelink {
enum class ListMenuAction;
}

namespace kestrelink::win32 {

// The device list's context menu at point (screen coordinates) over owner, until the user
// chooses; without onRow the items that need a row are greyed, without anyRowShown those that
// need shown rows, and so are those not available. Check items are ticked as checked says. The
// action chosen, if any.
std::optional<ListMenuAction> TrackListMenu(HWND owner, POINT point, bool onRow, bool anyRowShown,
                                            const std::function<bool(ListMenuAction)>& checked,
                                            const std::function<bool(ListMenuAction)>& available);

}  // namespace kestrelink::win32
