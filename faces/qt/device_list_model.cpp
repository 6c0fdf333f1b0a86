#include "faces/qt/device_list_model.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <vector>

#include "behaviour/device_columns.h"
#include "behaviour/heard_on_text.h"
#include "faces/qt/app_message_box.h"
#include "faces/qt/sort_arrow_bitmaps.h"
#include "net/subnet.h"

namespace kestrelink {

DeviceListModel::DeviceListModel(QObject* parent)
    : QAbstractTableModel(parent),
      m_arrowUp(SortArrowBitmap(kSortArrowUpBitmap, QGuiApplication::palette())),
      m_arrowDown(SortArrowBitmap(kSortArrowDownBitmap, QGuiApplication::palette())),
      m_outsideNetwork(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)) {
    m_list.SetObserver(this);
}

DeviceListModel::~DeviceListModel() {
    m_list.SetObserver(nullptr);
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.RowCount();
}

int DeviceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
            // Cells are single-byte text as the devices sent it.
            return QString::fromLatin1(m_list.CellText(row, index.column()));
        case Qt::ToolTipRole:
            if (const NetworkInterface* heardOn = m_list.HeardOn(row)) {
                return FromUtf8(HeardOnText(m_list.CellText(row, kColumnIp), *heardOn));
            }
            return {};
        case Qt::DecorationRole:
            if (const NetworkInterface* heardOn = m_list.HeardOn(row);
                heardOn != nullptr && index.column() == kColumnIp &&
                IsOutsideNetwork(m_list.CellText(row, kColumnIp), *heardOn)) {
                return m_outsideNetwork;
            }
            return {};
        default:
            return {};
    }
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(
                kDeviceListColumns[static_cast<std::size_t>(section)].header);
        case Qt::TextAlignmentRole:
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::DecorationRole:
            switch (m_list.ArrowOn(section)) {
                case HeaderArrow::Up:
                    return m_arrowUp;
                case HeaderArrow::Down:
                    return m_arrowDown;
                case HeaderArrow::None:
                    return {};
            }
            return {};
        default:
            return {};
    }
}

void DeviceListModel::RowAboutToBeInserted(int position) {
    beginInsertRows({}, position, position);
}

void DeviceListModel::RowInserted() {
    endInsertRows();
}

void DeviceListModel::RowAboutToBeRemoved(int position) {
    beginRemoveRows({}, position, position);
}

void DeviceListModel::RowRemoved() {
    endRemoveRows();
}

void DeviceListModel::RowsAboutToBeReset() {
    beginResetModel();
}

void DeviceListModel::RowsReset() {
    endResetModel();
}

void DeviceListModel::RowsAboutToChange() {
    emit layoutAboutToBeChanged();
}

void DeviceListModel::RowsChanged(std::span<const int> newPositions) {
    // Moving the persistent indexes is what keeps the view's selection, current row and hidden
    // rows on the same devices; those of rows that are gone become invalid.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const auto old = static_cast<std::size_t>(index.row());
        const int row = old < newPositions.size() ? newPositions[old] : -1;
        after.push_back(row < 0 ? QModelIndex() : this->index(row, index.column()));
    }
    changePersistentIndexList(before, after);

    std::vector<bool> kept(static_cast<std::size_t>(m_list.RowCount()), false);
    for (const int row : newPositions) {
        if (row >= 0) {
            kept[static_cast<std::size_t>(row)] = true;
        }
    }
    m_addedRows.clear();
    for (std::size_t row = 0; row < kept.size(); ++row) {
        if (!kept[row]) {
            m_addedRows.push_back(static_cast<int>(row));
        }
    }
    emit layoutChanged();
}

void DeviceListModel::SortArrowChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

}  // namespace kestrelink
