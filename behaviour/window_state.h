#pragma once

#include <optional>
#include <span>
#include <vector>

#include "net/device_list.h"

namespace kestrelink {

struct WindowSize {
    int width = 0;
    int height = 0;
};

struct WindowPoint {
    int x = 0;
    int y = 0;
};

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// How the user left the main window, kept from one run to the next.
struct WindowState {
    std::optional<WindowSize> size;       // the window without its frame; none: the drawn size
    std::optional<WindowPoint> position;  // the frame's top left corner; none: centred
    bool maximized = false;
    std::vector<int> columnWidths;  // one per column; empty: the first-run widths
    SortState sort;                 // the sorted column and direction; -1: rows on top as they come
    bool keepWatching = false;
};

// What the storage holds, unchecked: a part it does not have, or cannot read as its type, is
// nullopt; a column width that is not a number is a nullopt among the widths.
struct StoredWindowState {
    std::optional<WindowSize> size;
    std::optional<WindowPoint> position;
    std::optional<bool> maximized;
    std::optional<std::vector<std::optional<int>>> columnWidths;
    std::optional<int> sortColumn;
    std::optional<bool> ascending;
    std::optional<bool> keepWatching;
};

// Where a face keeps the window's state between runs (Qt: its settings file; Win32: the
// registry under HKEY_CURRENT_USER\Software\Kestrelink).
class WindowStateStorage {
public:
    WindowStateStorage() = default;
    virtual ~WindowStateStorage() = default;
    WindowStateStorage(const WindowStateStorage&) = delete;
    WindowStateStorage& operator=(const WindowStateStorage&) = delete;

    virtual StoredWindowState Load() const = 0;
    // A size or position that the state does not have is left as it was stored.
    virtual void Save(const WindowState& state) = 0;
};

// What was stored, as far as it still makes sense: a position that would put the window off
// every screen, widths that are not one positive number per column and a column that does not
// sort are left out, so those parts start as on the first run.
WindowState CheckedWindowState(const StoredWindowState& stored,
                               std::span<const ScreenRect> screens);

// The header clicks that lead to sort, so that the list's own rules set order and arrow.
void RestoreSort(DeviceList& list, const SortState& sort);

}  // namespace kestrelink
