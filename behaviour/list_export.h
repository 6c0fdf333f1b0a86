#pragma once

#include <span>
#include <string>

namespace kestrelink {

class DeviceList;

// Export List's file: the rows of list at positions rows, in that order, in CSV under the keys the
// command-line program uses for the window's seven columns, the devices' single-byte texts as
// UTF-8. Made for spreadsheet programs: a byte-order mark first, so that they read UTF-8 at all,
// and every cell behind GuardSpreadsheetCell.
std::string ExportListFile(const DeviceList& list, std::span<const int> rows);

}  // namespace kestrelink
