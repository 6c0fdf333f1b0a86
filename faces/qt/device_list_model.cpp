#include "faces/qt/device_list_model.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

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

void DeviceListModel::RowsAboutToBeReordered() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void DeviceListModel::RowsReordered(std::span<const int> newPositions) {
    // Moving the persistent indexes is what keeps the view's selection and current row on the
    // same device through a sort.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int row = newPositions[static_cast<std::size_t>(index.row())];
        after.push_back(this->index(row, index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void DeviceListModel::SortArrowChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

}  // namespace kestrelink
