#include "tests/faces/qt/support/list_view_input.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
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

void RightClick(const QTreeView& view, QPoint point) {
    QWidget* viewport = view.viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, point);
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &request);
}

void PressMenuKey(QTreeView& view) {
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
    QApplication::sendEvent(&view, &request);
}

QStringList MenuItems(const QMenu& menu) {
    QStringList items;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            items << (action->isEnabled() ? action->text() : action->text() + " (disabled)");
        }
    }
    return items;
}

void Choose(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            menu.setActiveAction(action);
            QTest::keyClick(&menu, Qt::Key_Return);
            return;
        }
    }
}

}  // namespace kestrelink::testing
