#pragma once

#include <array>
#include <string_view>

namespace kestrelink {

// The header of a device list written as CSV, shared by the command-line program and the window's
// export so that one reader takes both. The first seven are the window's columns, in their order.
inline constexpr std::array<std::string_view, 10> kDeviceCsvKeys = {
    "ip",     "mac",    "product",   "name",     "version",
    "serial", "family", "interface", "conflict", "outside"};

}  // namespace kestrelink
