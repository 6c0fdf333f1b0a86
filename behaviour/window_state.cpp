#include "behaviour/window_state.h"

#include <algorithm>

#include "net/device_row.h"

namespace kestrelink {
namespace {

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.width > 0 && a.height > 0 && b.width > 0 && b.height > 0 && a.x < b.x + b.width &&
           b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool OnSomeScreen(const ScreenRect& window, std::span<const ScreenRect> screens) {
    return std::any_of(screens.begin(), screens.end(),
                       [&window](const ScreenRect& screen) { return Overlaps(screen, window); });
}

std::vector<int> ColumnWidths(const std::vector<std::optional<int>>& stored) {
    std::vector<int> widths;
    for (const std::optional<int>& width : stored) {
        if (!width || *width <= 0) {
            return {};
        }
        widths.push_back(*width);
    }
    return widths.size() == kColumnCount ? widths : std::vector<int>();
}

}  // namespace

WindowState CheckedWindowState(const StoredWindowState& stored,
                               std::span<const ScreenRect> screens) {
    WindowState state;
    if (stored.size && stored.size->width >= 0 && stored.size->height >= 0) {
        state.size = stored.size;
    }
    if (state.size && stored.position &&
        OnSomeScreen(
            {stored.position->x, stored.position->y, state.size->width, state.size->height},
            screens)) {
        state.position = stored.position;
    }
    state.maximized = stored.maximized.value_or(false);
    state.keepWatching = stored.keepWatching.value_or(false);
    if (stored.columnWidths) {
        state.columnWidths = ColumnWidths(*stored.columnWidths);
    }
    const int sortColumn = stored.sortColumn.value_or(-1);
    // "arch" is clicked, not sorted by: after such a click new rows stay on top.
    if (sortColumn >= kColumnIp && sortColumn <= kColumnSerialNo) {
        state.sort = {sortColumn, stored.ascending.value_or(true)};
    }
    return state;
}

void RestoreSort(DeviceList& list, const SortState& sort) {
    if (sort.sortColumn == -1) {
        return;
    }
    list.OnHeaderClick(sort.sortColumn);
    if (!sort.ascending) {
        list.OnHeaderClick(sort.sortColumn);
    }
}

}  // namespace kestrelink
