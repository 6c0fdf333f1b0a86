#include "tests/support/reference_list.h"

#include "net/system_sockets.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrelink::testing {
namespace {

template <typename Value>
int Order(Value first, Value second) {
    return first < second ? -1 : (second < first ? 1 : 0);
}

// Negative when first comes before second in ascending order. IP: the standard conversion in
// host order, all ones when it fails. MAC: one 48-bit number, first octet most significant.
// Serial: read like atoi, wrapped to unsigned 32 bits. Other texts: byte by byte.
int CompareAscending(int column, const std::string& first, const std::string& second) {
    const auto ip = [](const std::string& cell) { return ntohl(inet_addr(cell.c_str())); };
    const auto mac = [](const std::string& cell) {
        unsigned o[6] = {};
        std::sscanf(cell.c_str(), "%02x:%02x:%02x:%02x:%02x:%02x", &o[0], &o[1], &o[2], &o[3],
                    &o[4], &o[5]);
        return (std::uint64_t{o[0]} << 8 | o[1]) << 32 |
               (o[2] << 24 | o[3] << 16 | o[4] << 8 | o[5]);
    };
    const auto serial = [](const std::string& cell) {
        return static_cast<std::uint32_t>(std::strtoull(cell.c_str(), nullptr, 10));
    };
    switch (column) {
        case kColumnIp:
            return Order(ip(first), ip(second));
        case kColumnMac:
            return Order(mac(first), mac(second));
        case kColumnSerialNo:
            return Order(serial(first), serial(second));
        default:
            return std::strcmp(first.c_str(), second.c_str());
    }
}

}  // namespace

void ReferenceList::Insert(const DeviceRow& row) {
    m_rows.insert(m_rows.begin(), Row{row});
    Sort();
}

void ReferenceList::TakeIn(const DeviceRow& row) {
    DeleteByMac(row[kColumnMac]);
    if (std::none_of(m_rows.begin(), m_rows.end(), [&](const Row& listed) {
            return listed.cells[kColumnIp] == row[kColumnIp];
        })) {
        Insert(row);
    }
}

void ReferenceList::Click(int column) {
    if (column != m_sort.sortColumn) {
        m_sort = {column, false};
    }
    if (column < kColumnIp || column > kColumnSerialNo) {
        return;
    }
    m_sort.ascending = !m_sort.ascending;
    m_arrows.fill(HeaderArrow::None);
    m_arrows[static_cast<std::size_t>(column)] =
        m_sort.ascending ? HeaderArrow::Up : HeaderArrow::Down;
    Sort();
}

void ReferenceList::DeleteByMac(std::string_view macText) {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& row) {
        return row.cells[kColumnMac] == macText;
    });
    if (found != m_rows.end()) {
        m_rows.erase(found);
    }
}

void ReferenceList::Select(int position) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].selected = static_cast<int>(i) == position;
    }
}

void ReferenceList::Sort() {
    const int column = m_sort.sortColumn;
    if (column < kColumnIp || column > kColumnSerialNo) {
        return;
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Row& a, const Row& b) {
        const Row& first = m_sort.ascending ? a : b;
        const Row& second = m_sort.ascending ? b : a;
        const auto cell = static_cast<std::size_t>(column);
        return CompareAscending(column, first.cells[cell], second.cells[cell]) < 0;
    });
}

std::string ReferenceList::DifferenceFrom(const DeviceList& list) const {
    if (list.RowCount() != static_cast<int>(m_rows.size())) {
        return std::to_string(list.RowCount()) + " rows";
    }
    for (int row = 0; row < list.RowCount(); ++row) {
        const Row& expected = m_rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < kColumnCount; ++column) {
            if (list.CellText(row, column) != expected.cells[static_cast<std::size_t>(column)]) {
                return "row " + std::to_string(row) + " column " + std::to_string(column) + ": '" +
                       list.CellText(row, column) + "'";
            }
        }
        if ((list.SelectedRow() == row) != expected.selected) {
            return "selection at row " + std::to_string(row);
        }
    }
    for (int column = 0; column < kColumnCount; ++column) {
        if (list.ArrowOn(column) != m_arrows[static_cast<std::size_t>(column)]) {
            return "arrow on column " + std::to_string(column);
        }
    }
    const bool sameSort =
        list.Sort().sortColumn == m_sort.sortColumn && list.Sort().ascending == m_sort.ascending;
    return sameSort ? "" : "sort state";
}

}  // namespace kestrelink::testing
