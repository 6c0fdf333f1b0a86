#include "net/device_list.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

#include "net/row_comparators.h"

namespace kestrelink {
namespace {

// Growing a lookup rehashes every entry: the last growths on the way to a flat /16, in the
// middle of a burst of answers, held the list's thread for tens of milliseconds. A list that
// reaches kRowsBeforeSubnetLookups rows is made ready for the whole /16 at once; a smaller one
// costs no more than its rows.
constexpr std::size_t kRowsBeforeSubnetLookups = 1024;
constexpr std::size_t kLookupsReadyFor = 65536;

// From this many rows on, deleting them all frees them on a thread of its own; fewer are freed in
// a few milliseconds, less than the other thread would cost the answers that come in meanwhile.
constexpr std::size_t kRowsFreedAside = 16384;

}  // namespace

PreparedRow::PreparedRow(DeviceRow cells, std::optional<NetworkInterface> heardOn)
    : m_cells(std::move(cells)),
      m_heardOn(std::move(heardOn)),
      m_ipKey(IpSortKey(m_cells[kColumnIp])),
      m_macKey(MacTextToNumber(m_cells[kColumnMac])),
      m_serialKey(SerialSortKey(m_cells[kColumnSerialNo])) {}

void DeviceList::InsertRow(const RowCells& cells, const NetworkInterface* heardOn) {
    DeviceRow copied;
    std::copy(cells.begin(), cells.end(), copied.begin());
    InsertRow(std::make_unique<PreparedRow>(
        std::move(copied),
        heardOn != nullptr ? std::optional(*heardOn) : std::optional<NetworkInterface>()));
}

void DeviceList::InsertRow(std::unique_ptr<PreparedRow> row) {
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
    if (m_rows.size() >= kRowsBeforeSubnetLookups &&
        m_macCounts.bucket_count() < kLookupsReadyFor) {
        m_ipCounts.reserve(kLookupsReadyFor);
        m_macCounts.reserve(kLookupsReadyFor);
    }
    const bool tell = TellEachChange();
    if (tell) {
        m_observer->RowAboutToBeInserted(index);
    }
    Count(m_ipCounts, row->m_cells[kColumnIp], +1);
    CountMac(*row, +1);
    row->m_positionBeforeBatch = -1;
    m_rows.insert(position, std::move(row));
    if (tell) {
        m_observer->RowInserted();
    }
}

bool DeviceList::HasRowWithIp(std::string_view ip) const {
    return m_ipCounts.find(ip) != m_ipCounts.end();
}

bool DeviceList::HasRowWithMac(std::string_view macText) const {
    const auto found = m_macCounts.find(MacTextToNumber(macText));
    if (found == m_macCounts.end()) {
        return false;
    }
    if (found->second.only != nullptr) {
        return found->second.only->m_cells[kColumnMac] == macText;
    }
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&](const auto& row) { return row->m_cells[kColumnMac] == macText; });
}

bool DeviceList::ShowsUnchanged(const PreparedRow& row) const {
    if (!m_keepUnchanged) {
        return false;
    }
    const auto found = m_macCounts.find(row.m_macKey);
    if (found == m_macCounts.end() || found->second.only == nullptr) {
        return false;
    }
    const PreparedRow& listed = *found->second.only;
    return listed.m_cells == row.m_cells && listed.m_heardOn == row.m_heardOn;
}

void DeviceList::CountMac(const PreparedRow& row, int change) {
    MacCount& count = m_macCounts[row.m_macKey];
    count.rows += change;
    if (count.rows == 0) {
        m_macCounts.erase(row.m_macKey);
        return;
    }
    // Which of several rows is left alone is not known without a walk: none is kept.
    count.only = change > 0 && count.rows == 1 ? &row : nullptr;
}

void DeviceList::DeleteRowByMac(const MacAddress& mac) {
    DeleteRowByMacText(FormatMacText(mac).View());
}

void DeviceList::DeleteRowByMacText(std::string_view macText) {
    DeleteRowByMacText(macText, MacTextToNumber(macText));
}

void DeviceList::DeleteRowWithMacOf(const PreparedRow& row) {
    DeleteRowByMacText(row.m_cells[kColumnMac], row.m_macKey);
}

void DeviceList::DeleteRowByMacText(std::string_view macText, unsigned long long macKey) {
    if (m_macCounts.find(macKey) == m_macCounts.end()) {
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
    const bool tell = TellEachChange();
    if (tell) {
        m_observer->RowAboutToBeRemoved(static_cast<int>(position));
    }
    if (m_rows[position].get() == m_selected) {
        m_selected = nullptr;
    }
    Count(m_ipCounts, m_rows[position]->m_cells[kColumnIp], -1);
    CountMac(*m_rows[position], -1);
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(position));
    if (tell) {
        m_observer->RowRemoved();
    }
}

void DeviceList::DeleteAllRows() {
    const bool tell = TellEachChange();
    if (tell) {
        m_observer->RowsAboutToBeReset();
    }
    if (m_rows.size() >= kRowsFreedAside) {
        FreeAside();
    }
    m_rows.clear();
    m_ipCounts.clear();
    m_macCounts.clear();
    m_selected = nullptr;
    if (tell) {
        m_observer->RowsReset();
    }
}

void DeviceList::FreeAside() {
    // Tens of thousands of rows take tens of milliseconds to free, time that the thread which
    // owns the list needs for the answers that come in next.
    m_release.Release(std::make_shared<std::tuple<decltype(m_rows), TextCounts, MacCounts>>(
        std::move(m_rows), std::move(m_ipCounts), std::move(m_macCounts)));
}

void DeviceList::BeginBatch() {
    m_batch = Batch::Open;
}

void DeviceList::EndBatch() {
    const bool changed = m_batch == Batch::Changing;
    m_batch = Batch::None;
    if (!changed || m_observer == nullptr) {
        return;
    }
    std::vector<int> newPositions(m_rowsBeforeBatch, -1);
    for (std::size_t position = 0; position < m_rows.size(); ++position) {
        if (const int before = m_rows[position]->m_positionBeforeBatch; before >= 0) {
            newPositions[static_cast<std::size_t>(before)] = static_cast<int>(position);
        }
    }
    m_observer->RowsChanged(newPositions);
}

bool DeviceList::TellEachChange() {
    switch (m_batch) {
        case Batch::None:
            return m_observer != nullptr;
        case Batch::Open:
            m_batch = Batch::Changing;
            m_rowsBeforeBatch = m_rows.size();
            for (std::size_t position = 0; position < m_rows.size(); ++position) {
                m_rows[position]->m_positionBeforeBatch = static_cast<int>(position);
            }
            if (m_observer != nullptr) {
                m_observer->RowsAboutToChange();
            }
            return false;
        case Batch::Changing:
            return false;
    }
    return false;
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
    const bool tell = TellEachChange();
    if (tell) {
        m_observer->RowsAboutToChange();
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
    if (tell) {
        m_observer->RowsChanged(newPositions);
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
