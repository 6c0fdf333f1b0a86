#include "faces/qt/device_list_menu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "faces/qt/app_message_box.h"
#include "faces/qt/device_list_view.h"

namespace kestrelink {

DeviceListMenu::DeviceListMenu(DeviceListView* view, QWidget* window)
    : QObject(view), m_view(view), m_menu(new QMenu(view)) {
    for (const ListMenuItem& item : kListMenu) {
        if (item.separatorBefore) {
            m_menu->addSeparator();
        }
        QAction* action = m_menu->addAction(
            FromUtf8(item.text), this, [this, chosen = item.action] { emit itemChosen(chosen); });
        if (item.needsRow) {
            m_rowActions << action;
        }
        action->setCheckable(IsCheckItem(item.action));
        m_actions.append({item.action, action});
        if (item.needsShownRows) {
            m_shownRowsActions << action;
        }
        if (item.action == ListMenuAction::CopyRow) {
            // A text field takes Ctrl+C for itself first, so the row is copied from anywhere else.
            action->setShortcut(QKeySequence::Copy);
            action->setShortcutContext(Qt::WindowShortcut);
            window->addAction(action);
        }
    }

    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
}

DeviceListMenu::~DeviceListMenu() = default;

void DeviceListMenu::SetItemStates(std::function<bool(ListMenuAction)> checked,
                                   std::function<bool(ListMenuAction)> available) {
    m_checked = std::move(checked);
    m_available = std::move(available);
}

bool DeviceListMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        // A right-click reaches the viewport; the platform's menu key reaches the focused list.
        if (watched == m_view->viewport() && request->reason() == QContextMenuEvent::Mouse) {
            const QModelIndex index = m_view->indexAt(request->pos());
            if (index.isValid()) {
                m_view->selectionModel()->setCurrentIndex(
                    index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            }
            PopUp(index.isValid(), request->globalPos());
        } else {
            PopUpAtSelection();
        }
        return true;
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            PopUpAtSelection();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DeviceListMenu::PopUpAtSelection() {
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        PopUp(false, m_view->viewport()->mapToGlobal(QPoint(0, 0)));
        return;
    }
    m_view->scrollTo(selected.first());
    const QRect row = m_view->visualRect(selected.first());
    PopUp(true, m_view->viewport()->mapToGlobal(row.bottomLeft()));
}

void DeviceListMenu::PopUp(bool onRow, const QPoint& globalPosition) {
    for (const auto& [item, action] : m_actions) {
        if (m_checked) {
            action->setChecked(m_checked(item));
        }
        if (m_available) {
            action->setEnabled(m_available(item));
        }
    }
    for (QAction* action : m_rowActions) {
        action->setEnabled(onRow);
    }
    bool anyShown = false;
    for (int row = 0; row < m_view->model()->rowCount() && !anyShown; ++row) {
        anyShown = !m_view->isRowHidden(row, {});
    }
    for (QAction* action : m_shownRowsActions) {
        action->setEnabled(anyShown);
    }
    m_menu->exec(globalPosition);
    // Ctrl+C stays with the row copy whatever the menu showed.
    for (QAction* action : m_rowActions) {
        action->setEnabled(true);
    }
}

}  // namespace kestrelink
