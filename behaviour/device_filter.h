#pragma once

#include <string>
#include <string_view>

namespace kestrelink {

class DeviceList;

// Whether a cell of the row at position row contains filter (UTF-8), any column, any case as
// Unicode's simple case folding has it. An empty filter matches every row.
bool RowMatchesFilter(const DeviceList& list, int row, std::string_view filter);

// The count beside the filter: "3 devices", or while a filter is typed, "1 of 3 devices".
std::string DeviceCountText(int shown, int total, bool filtering);

}  // namespace kestrelink
