#pragma once

#include <QTimer>
#include <QTreeView>

#include "behaviour/repaint_pacer.h"

namespace kestrelink {

class DeviceListModel;

// The device list as a report list: whole rows, one selected at a time and still shown when the
// list loses the focus, Tab leaves the list, header clicks left to the list's own sorting. A row
// that goes while selected or current leaves no selection and no current row behind. While rows
// pour in, the list is repainted at the pace of a RepaintPacer.
class DeviceListView final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeviceListView)

public:
    explicit DeviceListView(DeviceListModel* model, QWidget* parent = nullptr);
    ~DeviceListView() override;

    // The marks of the rows changed: those in sight are drawn anew.
    void MarksChanged();

signals:
    // A left double-click on a row.
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    void FollowSelection();
    // Before the model changes, so that the view's own updates for the change are held as well.
    void PaceRepaint();
    void ReleaseRepaint();

    DeviceListModel* m_model;
    RepaintPacer m_repaintPacer;
    QTimer m_heldRepaint;
};

}  // namespace kestrelink
