#include "net/device_list.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "net/row_comparators.h"

namespace kestrelink {

PreparedRow::PreparedRow(DeviceRow cells, std::optional<NetworkInterface> heardOn)
    : m_cells(std::move(cells)),
      m_heardOn(std::move(heardOn)),
      m_ipKey(IpSortKey(m_cells[kColumnIp])),
      m_macKey(MacTextToNumber(m_cells[kColumnMac])),
      m_serialKey(SerialSortKey(m_cells[kColumnSerialNo])) {}

void DeviceList::InsertRow(const RowCells& cells, const NetworkInterface* heardOn) {
    DeviceRow copied;
    std::copy(cells.begin(), cells.end(), copied.begin());
    InsertRow(PreparedRow(std::move(copied), heardOn != nullptr
                                                 ? std::optional(*heardOn)
                                                 : std::optional<NetworkInterface>()));
}

void DeviceList::InsertRow(PreparedRow&& prepared) {
    auto row = std::make_unique<PreparedRow>(std::move(prepared));

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
    Count(m_ipCounts, row->m_cells[kColumnIp], +1);
    Count(m_macCounts, row->m_macKey, +1);
    m_rows.insert(position, std::move(row));
    if (m_observer) {
        m_observer->RowInserted();
    }
}

bool DeviceList::HasRowWithIp(std::string_view ip) const {
    return m_ipCounts.find(ip) != m_ipCounts.end();
}

void DeviceList::DeleteRowByMac(const MacAddress& mac) {
    DeleteRowByMacText(FormatMacText(mac).View());
}

void DeviceList::DeleteRowByMacText(std::string_view macText) {
    if (m_macCounts.find(MacTextToNumber(macText)) == m_macCounts.end()) {
        return;
    }
    const auto found = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto& row) {
        return row->m_cells[kColumnMac] == macText;
    });
    if (found != m_rows.end()) {
        RemoveAt(static_cast<std::size_t>(found - m_rows.begin()));
    }
}

void DeviceList::RemoveAt(std::size_t position) {
    if (m_observer) {
        m_observer->RowAboutToBeRemoved(static_cast<int>(position));
    }
    if (m_rows[position].get() == m_selected) {
        m_selected = nullptr;
    }
    Count(m_ipCounts, m_rows[position]->m_cells[kColumnIp], -1);
    Count(m_macCounts, m_rows[position]->m_macKey, -1);
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
    m_ipCounts.clear();
    m_macCounts.clear();
    m_selected = nullptr;
    if (m_observer) {
        m_observer->RowsReset();
    }
}

const std::string& DeviceList::CellText(int row, int column) const {
    return m_rows.at(static_cast<std::size_t>(row))->m_cells.at(static_cast<std::size_t>(column));
}

const NetworkInterface* DeviceList::HeardOn(int row) const {
    const auto& heardOn = m_rows.at(static_cast<std::size_t>(row))->m_heardOn;
    return heardOn ? &*heardOn : nullptr;
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
    // Sorts positions rather than rows, with the numeric keys side by side; the order is the one
    // that stable sorting with CompareRows gives.
    const auto column = static_cast<std::size_t>(m_sort.sortColumn);
    const bool ascending = m_sort.ascending;
    std::vector<std::size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto cell = [&](std::size_t position) -> const std::string& {
        return m_rows[position]->m_cells[column];
    };
    if (m_sort.sortColumn == kColumnIp || m_sort.sortColumn == kColumnMac ||
        m_sort.sortColumn == kColumnSerialNo) {
        std::vector<unsigned long long> keys(m_rows.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keys[i] = NumericSortKey(*m_rows[i]);
        }
        std::stable_sort(order.begin(), order.end(), [&](std::size_t first, std::size_t second) {
            return ascending ? keys[first] < keys[second] : keys[second] < keys[first];
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t first, std::size_t second) {
            return CompareText(cell(first), cell(second), ascending) < 0;
        });
    }
    std::deque<std::unique_ptr<PreparedRow>> sorted;
    std::vector<int> newPositions(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_rows[order[i]]));
        newPositions[order[i]] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    if (m_observer) {
        m_observer->RowsReordered(newPositions);
    }
}

std::size_t DeviceList::TextHash::operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
}

template <typename Counts, typename Key>
void DeviceList::Count(Counts& counts, const Key& key, int change) {
    const auto entry = counts.try_emplace(key, 0).first;
    entry->second += change;
    if (entry->second == 0) {
        counts.erase(entry);
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

unsigned long long DeviceList::NumericSortKey(const PreparedRow& row) const {
    switch (m_sort.sortColumn) {
        case kColumnIp:
            return row.m_ipKey;
        case kColumnMac:
            return row.m_macKey;
        default:
            return row.m_serialKey;
    }
}

int DeviceList::CompareRows(const PreparedRow& first, const PreparedRow& second) const {
    switch (m_sort.sortColumn) {
        case kColumnIp:
        case kColumnMac:
        case kColumnSerialNo:
            return CompareSortKeys(NumericSortKey(first), NumericSortKey(second), m_sort.ascending);
        default: {
            const auto column = static_cast<std::size_t>(m_sort.sortColumn);
            return CompareText(first.m_cells[column], second.m_cells[column], m_sort.ascending);
        }
    }
}

}  // namespace kestrelink
