#pragma once

#include <string>
#include <string_view>

#include "net/device_row.h"

namespace kestrelink {

class DeviceList;

// A filter's text, folded once, to be held against row after row: whether a cell of a row
// contains it (UTF-8), any column, any case as Unicode's simple case folding has it. An empty
// filter matches every row.
class RowFilter final {
public:
    explicit RowFilter(std::string_view filter = {});

    bool Empty() const { return m_wanted.empty(); }
    bool Matches(const DeviceList& list, int row) const;
    bool Matches(const DeviceRow& cells) const;

private:
    std::u32string m_wanted;  // folded
};

// The count beside the filter: "3 devices", or while a filter is typed, "1 of 3 devices".
std::string DeviceCountText(int shown, int total, bool filtering);

}  // namespace kestrelink
