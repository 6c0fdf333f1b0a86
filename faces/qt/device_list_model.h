#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QPixmap>

#include "net/device_list.h"

namespace kestrelink {

// The device list as Qt's views see it. The list keeps its own order (rows on top, its sort rules,
// the "arch" quirk), so the model only reports the list's changes and never reorders by itself.
// Each row's tooltip names the interface its device was heard on; an IP cell outside that
// interface's network carries the platform's warning icon.
class DeviceListModel final : public QAbstractTableModel, private DeviceListObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeviceListModel)

public:
    explicit DeviceListModel(QObject* parent = nullptr);
    ~DeviceListModel() override;

    // Every change goes through the list; the model follows it.
    DeviceList& List() { return m_list; }
    const DeviceList& List() const { return m_list; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The positions of the rows that the last layoutChanged brought in, top to bottom.
    const QList<int>& RowsAddedByLastChange() const { return m_addedRows; }

private:
    void RowAboutToBeInserted(int position) override;
    void RowInserted() override;
    void RowAboutToBeRemoved(int position) override;
    void RowRemoved() override;
    void RowsAboutToBeReset() override;
    void RowsReset() override;
    void RowsAboutToChange() override;
    void RowsChanged(std::span<const int> newPositions) override;
    void SortArrowChanged() override;

    DeviceList m_list;
    QPixmap m_arrowUp;
    QPixmap m_arrowDown;
    QIcon m_outsideNetwork;
    QList<int> m_addedRows;
};

}  // namespace kestrelink
