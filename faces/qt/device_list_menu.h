#pragma once

#include <QObject>
#include <functional>
#include <utility>

#include "behaviour/list_menu.h"

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace kestrelink {

class DeviceListView;

// The device list's context menu and the copy key. A right-click on a row selects it and offers
// its items; on empty space, or from the keyboard (the menu key, Shift+F10) with no row selected,
// the items that need a row are there but disabled. Every row item acts on the selected row, as
// the buttons do; the items that need shown rows are disabled while the filter leaves none; each
// chosen item goes to the window, which hands it to the behaviour. Ctrl+C
// anywhere in the window but a text field copies the selected row.
class DeviceListMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeviceListMenu)

public:
    // window: where Ctrl+C reaches the copy of the row.
    DeviceListMenu(DeviceListView* view, QWidget* window);
    ~DeviceListMenu() override;

    // Asked as the menu opens: whether a check item is ticked, and whether an item can be chosen
    // (those needing a row aside).
    void SetItemStates(std::function<bool(ListMenuAction)> checked,
                       std::function<bool(ListMenuAction)> available);

signals:
    void itemChosen(kestrelink::ListMenuAction action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PopUpAtSelection();
    void PopUp(bool onRow, const QPoint& globalPosition);

    DeviceListView* m_view;
    QMenu* m_menu;
    QList<QAction*> m_rowActions;
    QList<std::pair<ListMenuAction, QAction*>> m_actions;
    std::function<bool(ListMenuAction)> m_checked;
    std::function<bool(ListMenuAction)> m_available;
    QList<QAction*> m_shownRowsActions;
};

}  // namespace kestrelink
