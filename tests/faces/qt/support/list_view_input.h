#pragma once

#include <QPoint>
#include <QStringList>
#include <Qt>

class QAbstractItemModel;
class QMenu;
class QTreeView;

namespace kestrelink::testing {

// The texts of one column, top to bottom.
QStringList ColumnTexts(const QAbstractItemModel& model, int column);
// Clicks the middle of a column's header section, or of a row's first cell, as a user does.
void ClickHeader(const QTreeView& view, int column);
void ClickRow(const QTreeView& view, int row, Qt::KeyboardModifiers modifiers = {});
// What the platform sends for a right-click at point in the list's viewport: the press, the
// release, then the request for the context menu. Returns once the menu has closed.
void RightClick(const QTreeView& view, QPoint point);
// The request the platform makes of the focused list for the menu key.
void PressMenuKey(QTreeView& view);
// The menu's items, "text" or "text (disabled)", without separators.
QStringList MenuItems(const QMenu& menu);
// Chooses the item with that text as a user does from the keyboard.
void Choose(QMenu& menu, const QString& text);

}  // namespace kestrelink::testing
