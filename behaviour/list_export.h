#pragma once

#include <span>
#include <string>

namespace kestrelink {

class DeviceList;

// The rows of list at positions rows, in that order, as the command-line program writes a device
// list in CSV: the window's seven columns under its keys, the keys it has no column for left out,
// the devices' single-byte texts as UTF-8.
std::string DeviceListCsv(const DeviceList& list, std::span<const int> rows);

}  // namespace kestrelink
