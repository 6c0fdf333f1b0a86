#pragma once

#include <QTreeView>

namespace kestrelink {

class DeviceListModel;

// The device list as a report list: whole rows, one selected at a time and still shown when the
// list loses the focus, Tab leaves the list, header clicks left to the list's own sorting.
class DeviceListView final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeviceListView)

public:
    explicit DeviceListView(DeviceListModel* model, QWidget* parent = nullptr);
    ~DeviceListView() override;

signals:
    // Anywhere in the list, on a row or not: the selected row is what counts.
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void FollowSelection();

    DeviceListModel* m_model;
};

}  // namespace kestrelink
