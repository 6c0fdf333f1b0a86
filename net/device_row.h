#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrelink {

enum DeviceColumn : int {
    kColumnIp = 0,
    kColumnMac = 1,
    kColumnProductName = 2,
    kColumnGivenName = 3,
    kColumnVersion = 4,
    kColumnSerialNo = 5,
    kColumnArch = 6,
};
inline constexpr int kColumnCount = 7;

// One listed device: seven texts and nothing else. Every action reads these texts afresh.
using DeviceRow = std::array<std::string, kColumnCount>;
// The same seven texts on their way into the list, before they are copied into a row.
using RowCells = std::array<std::string_view, kColumnCount>;

inline constexpr std::string_view kArchText08 = "08bits";
inline constexpr std::string_view kArchText32 = "32bits";

}  // namespace kestrelink
