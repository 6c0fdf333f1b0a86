#pragma once

#include <QStringList>
#include <Qt>

class QAbstractItemModel;
class QTreeView;

namespace kestrelink::testing {

// The texts of one column, top to bottom.
QStringList ColumnTexts(const QAbstractItemModel& model, int column);
// Clicks the middle of a column's header section, or of a row's first cell, as a user does.
void ClickHeader(const QTreeView& view, int column);
void ClickRow(const QTreeView& view, int row, Qt::KeyboardModifiers modifiers = {});

}  // namespace kestrelink::testing
