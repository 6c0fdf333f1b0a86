#include "tests/ui/support/list_view_input.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeView>

namespace kestrelink::testing {

QStringList ColumnTexts(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, column).data().toString();
    }
    return texts;
}

void ClickHeader(const QTreeView& view, int column) {
    const QHeaderView* header = view.header();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
}

void ClickRow(const QTreeView& view, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers,
                      view.visualRect(view.model()->index(row, 0)).center());
}

}  // namespace kestrelink::testing
