#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <optional>

#include "net/device_list.h"

class QSettings;

namespace kestrelink {

// How the user left the main window, kept from one run to the next.
struct WindowState {
    QSize size;                      // the window without its frame; invalid: the drawn size
    std::optional<QPoint> position;  // the frame's top left corner; none: centred
    bool maximized = false;
    QList<int> columnWidths;  // one per column; empty: the first-run widths
    SortState sort;           // the sorted column and direction; -1: rows on top as they come
};

// What WriteWindowState wrote, as far as it still makes sense: a position that would put the
// window off every screen, widths that are not one positive number per column and a column that
// does not sort are left out, so those parts start as on the first run.
WindowState ReadWindowState(const QSettings& settings);
void WriteWindowState(QSettings& settings, const WindowState& state);

}  // namespace kestrelink
