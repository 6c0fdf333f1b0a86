#include "faces/qt/device_list_menu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "faces/qt/device_list_view.h"
#include "net/device_row.h"

namespace kestrelink {

DeviceListMenu::DeviceListMenu(DeviceListView* view, QWidget* window)
    : QObject(view), m_view(view), m_menu(new QMenu(view)) {
    m_rowActions = {
        m_menu->addAction(QStringLiteral("Configure IP..."), this,
                          &DeviceListMenu::configureIpRequested),
        m_menu->addAction(QStringLiteral("Open Web Page"), this, &DeviceListMenu::webPageRequested),
    };
    m_menu->addSeparator();
    m_rowActions << m_menu->addAction(QStringLiteral("Copy IP Address"), this,
                                      [this] { emit copyRequested({kColumnIp}); });
    m_rowActions << m_menu->addAction(QStringLiteral("Copy MAC Address"), this,
                                      [this] { emit copyRequested({kColumnMac}); });
    QAction* copyRow = m_menu->addAction(QStringLiteral("Copy Row"), this, [this] {
        emit copyRequested({kColumnIp, kColumnMac, kColumnProductName, kColumnGivenName,
                            kColumnVersion, kColumnSerialNo, kColumnArch});
    });
    m_rowActions << copyRow;
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("Export List..."), this, &DeviceListMenu::exportRequested);

    // A text field takes Ctrl+C for itself first, so the row is copied from anywhere else.
    copyRow->setShortcut(QKeySequence::Copy);
    copyRow->setShortcutContext(Qt::WindowShortcut);
    window->addAction(copyRow);

    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
}

DeviceListMenu::~DeviceListMenu() = default;

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
    for (QAction* action : m_rowActions) {
        action->setEnabled(onRow);
    }
    m_menu->exec(globalPosition);
    // Ctrl+C stays with the row copy whatever the menu showed.
    for (QAction* action : m_rowActions) {
        action->setEnabled(true);
    }
}

}  // namespace kestrelink
