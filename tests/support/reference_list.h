#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "net/device_list.h"
#include "net/device_row.h"

// The device list's rules worked out plainly, apart from DeviceList and its comparators, for
// tests to hold the list against: a new row goes on top and the whole list is then stably
// re-sorted from scratch, each comparison read from the cell texts by the column's rule.
namespace kestrelink::testing {

class ReferenceList final {
public:
    void Insert(const DeviceRow& row);
    // The intake's rule: the device's old row goes, and the new one comes in unless another row
    // already shows its address.
    void TakeIn(const DeviceRow& row);
    void Click(int column);
    void DeleteByMac(std::string_view macText);
    void Clear() { m_rows.clear(); }
    // -1, or a position out of range, selects nothing.
    void Select(int position);

    // Empty when list holds the same cells in the same order, with the same selection, sort
    // state and arrows; otherwise the first difference.
    std::string DifferenceFrom(const DeviceList& list) const;

private:
    struct Row {
        DeviceRow cells;
        bool selected = false;
    };
    void Sort();

    std::vector<Row> m_rows;
    SortState m_sort;
    std::array<HeaderArrow, kColumnCount> m_arrows{};
};

}  // namespace kestrelink::testing
