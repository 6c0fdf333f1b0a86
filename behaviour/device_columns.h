#pragma once

#include <array>

#include "net/device_row.h"

namespace kestrelink {

struct DeviceListColumn {
    const char* header;
    int width;  // initial width in pixels
};

inline constexpr std::array<DeviceListColumn, kColumnCount> kDeviceListColumns = {{
    {"IP", 100},
    {"MAC", 120},
    {"Product Name", 150},
    {"Given Name", 150},
    {"Version", 80},
    {"Serial No", 100},
    {"arch", 100},
}};

}  // namespace kestrelink
