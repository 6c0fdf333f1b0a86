#pragma once

#include <string_view>

namespace kestrelink {

// What a screen reader calls the controls that show no caption of their own.
inline constexpr std::string_view kDeviceListName = "Devices";
inline constexpr std::string_view kFilterName = "Filter";

}  // namespace kestrelink
