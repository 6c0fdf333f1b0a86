#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QPixmap>
#include <vector>

#include "net/device_list.h"

namespace kestrelink {

class ListMarks;

// The device list as Qt's views see it. The list keeps its own order (rows on top, its sort rules,
// the "arch" quirk), so the model only reports the list's changes and never reorders by itself.
// Each row's tooltip names the interface its device was heard on; an IP cell outside that
// interface's network carries the platform's warning icon. The marks of a comparison or a watch
// colour the rows, and the devices of a compared list that no row shows follow the list's rows,
// grey and not selectable.
class DeviceListModel final : public QAbstractTableModel, private DeviceListObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeviceListModel)

public:
    explicit DeviceListModel(QObject* parent = nullptr);
    ~DeviceListModel() override;

    // Every change goes through the list; the model follows it.
    DeviceList& List() { return m_list; }
    const DeviceList& List() const { return m_list; }

    // marks must outlive the model; nullptr: none drawn.
    void SetMarks(const ListMarks* marks);
    // The marks changed: the devices below the rows are taken again, and the rows from firstRow
    // to lastRow (-1: the last) are drawn anew. A view tells of all rows at a cost that grows
    // with the list; the others are read afresh when they come into sight.
    void MarksChanged(int firstRow = 0, int lastRow = -1);
    // The devices below the list's rows: model rows from the list's RowCount on.
    int MissingCount() const { return static_cast<int>(m_missing.size()); }
    const DeviceRow& MissingRow(int missing) const {
        return m_missing[static_cast<std::size_t>(missing)];
    }
    const ListMarks* Marks() const { return m_marks; }

    int rowCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // After MarksChanged, whichever rows it named.
    void marksChanged();

public:
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
    QVariant MissingData(int missing, int column, int role) const;
    // A device that comes in may be one shown as missing.
    void TakeMissingSoon();
    void TakeMissing();

    DeviceList m_list;
    const ListMarks* m_marks = nullptr;
    std::vector<DeviceRow> m_missing;
    bool m_missingDue = false;
    QPixmap m_arrowUp;
    QPixmap m_arrowDown;
    QIcon m_outsideNetwork;
    QList<int> m_addedRows;
};

}  // namespace kestrelink
