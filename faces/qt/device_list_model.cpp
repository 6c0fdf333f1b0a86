#include "faces/qt/device_list_model.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QPalette>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "behaviour/device_columns.h"
#include "behaviour/heard_on_text.h"
#include "behaviour/list_marks.h"
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

void DeviceListModel::SetMarks(const ListMarks* marks) {
    m_marks = marks;
    MarksChanged();
}

void DeviceListModel::MarksChanged(int firstRow, int lastRow) {
    TakeMissing();
    const int last = lastRow < 0 ? m_list.RowCount() - 1 : std::min(lastRow, m_list.RowCount() - 1);
    if (firstRow >= 0 && firstRow <= last) {
        emit dataChanged(index(firstRow, 0), index(last, kColumnCount - 1),
                         {Qt::ForegroundRole, Qt::BackgroundRole, Qt::ToolTipRole});
    }
    emit marksChanged();
}

void DeviceListModel::TakeMissingSoon() {
    if (m_marks == nullptr || !m_marks->Comparing() || m_missingDue) {
        return;
    }
    m_missingDue = true;
    QMetaObject::invokeMethod(this, &DeviceListModel::TakeMissing, Qt::QueuedConnection);
}

void DeviceListModel::TakeMissing() {
    m_missingDue = false;
    const int first = m_list.RowCount();
    if (!m_missing.empty()) {
        beginRemoveRows({}, first, first + MissingCount() - 1);
        m_missing.clear();
        endRemoveRows();
    }
    std::vector<DeviceRow> missing;
    if (m_marks != nullptr) {
        missing = m_marks->Missing(m_list);
    }
    if (!missing.empty()) {
        beginInsertRows({}, first, first + static_cast<int>(missing.size()) - 1);
        m_missing = std::move(missing);
        endInsertRows();
    }
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.RowCount() + MissingCount();
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex& index) const {
    if (index.isValid() && index.row() >= m_list.RowCount()) {
        // Cfg IP, Web and the copies act on the list's devices only.
        return Qt::ItemIsEnabled;
    }
    return QAbstractTableModel::flags(index);
}

QVariant DeviceListModel::MissingData(int missing, int column, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(
                m_missing[static_cast<std::size_t>(missing)][static_cast<std::size_t>(column)]);
        case Qt::ForegroundRole:
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        case Qt::ToolTipRole:
            return FromUtf8(kMissingTip);
        default:
            return {};
    }
}

int DeviceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int row = index.row();
    if (row >= m_list.RowCount()) {
        return MissingData(row - m_list.RowCount(), index.column(), role);
    }
    switch (role) {
        case Qt::DisplayRole:
            // Cells are single-byte text as the devices sent it.
            return QString::fromLatin1(m_list.CellText(row, index.column()));
        case Qt::ToolTipRole: {
            QStringList lines;
            if (const NetworkInterface* heardOn = m_list.HeardOn(row)) {
                lines << FromUtf8(HeardOnText(m_list.CellText(row, kColumnIp), *heardOn));
            }
            if (m_marks != nullptr) {
                if (const std::string tip = m_marks->TipOf(m_list, row); !tip.empty()) {
                    lines << FromUtf8(tip);
                }
            }
            return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
        }
        case Qt::ForegroundRole:
            if (m_marks != nullptr && m_marks->MarkOf(m_list, row) == RowMark::Quiet) {
                return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            }
            return {};
        case Qt::BackgroundRole:
            if (m_marks != nullptr) {
                if (const auto colour = MarkBackground(m_marks->MarkOf(m_list, row))) {
                    return QBrush(QColor(colour->red, colour->green, colour->blue));
                }
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
    TakeMissingSoon();
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
    TakeMissingSoon();
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
        // The devices below the list's rows move with its length.
        const int row =
            old < newPositions.size()
                ? newPositions[old]
                : index.row() - static_cast<int>(newPositions.size()) + m_list.RowCount();
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
    TakeMissingSoon();
}

void DeviceListModel::SortArrowChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

}  // namespace kestrelink
