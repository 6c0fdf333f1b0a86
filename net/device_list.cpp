#include "net/device_list.h"

#include <algorithm>

#include "net/row_comparators.h"

namespace kestrelink {

void DeviceList::InsertRow(const RowCells& cells) {
    auto row = std::make_unique<DeviceRow>();
    std::copy(cells.begin(), cells.end(), row->begin());

    // The rows are already in order whenever a sortable column is chosen, so the place that a
    // whole re-sort would give is the first row that does not come strictly before the new
    // one: a binary search instead of a sort per arriving device.
    auto position = m_rows.begin();
    if (SortableColumnChosen()) {
        position = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                                    [this](const auto& listed, const auto& added) {
                                        return CompareRows(*listed, *added) < 0;
                                    });
    }
    const int index = static_cast<int>(position - m_rows.begin());
    if (m_observer) {
        m_observer->RowAboutToBeInserted(index);
    }
    m_rows.insert(position, std::move(row));
    if (m_observer) {
        m_observer->RowInserted();
    }
}

bool DeviceList::FindRowByIp(std::string_view ip) const {
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [ip](const auto& row) { return (*row)[kColumnIp] == ip; });
}

bool DeviceList::DeleteRowByMac(const MacAddress& mac) {
    const ShortText macText = FormatMacText(mac);
    const auto found = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto& row) {
        return (*row)[kColumnMac] == macText.View();
    });
    if (found != m_rows.end()) {
        RemoveAt(static_cast<std::size_t>(found - m_rows.begin()));
    }
    return true;
}

void DeviceList::RemoveAt(std::size_t position) {
    if (m_observer) {
        m_observer->RowAboutToBeRemoved(static_cast<int>(position));
    }
    if (m_rows[position].get() == m_selected) {
        m_selected = nullptr;
    }
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(position));
    if (m_observer) {
        m_observer->RowRemoved();
    }
}

void DeviceList::DeleteAllRows() {
    if (m_observer) {
        m_observer->RowsAboutToBeReset();
    }
    m_rows.clear();
    m_selected = nullptr;
    if (m_observer) {
        m_observer->RowsReset();
    }
}

const std::string& DeviceList::CellText(int row, int column) const {
    return (*m_rows.at(static_cast<std::size_t>(row))).at(static_cast<std::size_t>(column));
}

int DeviceList::SelectedRow() const {
    if (m_selected == nullptr) {
        return -1;
    }
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [this](const auto& row) { return row.get() == m_selected; });
    return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

void DeviceList::SelectRow(int row) {
    const bool inRange = row >= 0 && row < RowCount();
    m_selected = inRange ? m_rows[static_cast<std::size_t>(row)].get() : nullptr;
}

void DeviceList::OnHeaderClick(int column) {
    if (column != m_sort.sortColumn) {
        m_sort.ascending = false;
        m_sort.sortColumn = column;
    }
    if (!SortableColumnChosen()) {
        return;
    }
    m_sort.ascending = !m_sort.ascending;
    ShowSortArrow(column, m_sort.ascending);
    SortRows();
}

void DeviceList::SortRows() {
    if (!SortableColumnChosen()) {
        return;
    }
    if (m_observer) {
        m_observer->RowsAboutToBeReordered();
    }
    std::vector<const DeviceRow*> before(m_rows.size());
    std::transform(m_rows.begin(), m_rows.end(), before.begin(),
                   [](const auto& row) { return row.get(); });
    std::stable_sort(m_rows.begin(), m_rows.end(), [this](const auto& first, const auto& second) {
        return CompareRows(*first, *second) < 0;
    });
    if (m_observer) {
        std::vector<std::pair<const DeviceRow*, int>> after(m_rows.size());
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            after[i] = {m_rows[i].get(), static_cast<int>(i)};
        }
        std::sort(after.begin(), after.end());
        std::vector<int> newPositions(before.size());
        for (std::size_t old = 0; old < before.size(); ++old) {
            const auto it = std::lower_bound(after.begin(), after.end(),
                                             std::make_pair(before[old], -1));
            newPositions[old] = it->second;
        }
        m_observer->RowsReordered(newPositions);
    }
}

HeaderArrow DeviceList::ArrowOn(int column) const {
    if (column != m_arrowColumn) {
        return HeaderArrow::None;
    }
    return m_arrowAscending ? HeaderArrow::Up : HeaderArrow::Down;
}

void DeviceList::ShowSortArrow(int column, bool ascending) {
    m_arrowColumn = column;
    m_arrowAscending = ascending;
    if (m_observer) {
        m_observer->SortArrowChanged();
    }
}

bool DeviceList::SortableColumnChosen() const {
    return m_sort.sortColumn >= kColumnIp && m_sort.sortColumn <= kColumnSerialNo;
}

int DeviceList::CompareRows(const DeviceRow& first, const DeviceRow& second) const {
    const auto column = static_cast<std::size_t>(m_sort.sortColumn);
    const std::string& a = first[column];
    const std::string& b = second[column];
    switch (m_sort.sortColumn) {
        case kColumnIp:
            return CompareIp(a, b, m_sort.ascending);
        case kColumnMac:
            return CompareMac(a, b, m_sort.ascending);
        case kColumnSerialNo:
            return CompareSerial(a, b, m_sort.ascending);
        default:
            return CompareText(a, b, m_sort.ascending);
    }
}

}  // namespace kestrelink
