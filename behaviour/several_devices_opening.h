#pragma once

#include <chrono>
#include <span>
#include <vector>

#include "behaviour/several_devices_table.h"

namespace kestrelink {

class DeviceList;
class SeveralDevicesSender;

// What the main window hands the "Configure Several Devices" dialog when it opens.
struct SeveralDevicesOpening {
    SeveralDevicesSender& sender;
    std::chrono::milliseconds wait;     // each device's time to confirm in the sender's runs
    std::vector<SeveralDevice> shown;   // the rows the filter shows, top to bottom
    std::vector<SeveralDevice> listed;  // every row of the list
};

// The list's rows at the positions given, as the dialog takes them.
std::vector<SeveralDevice> SeveralDevices(const DeviceList& list, std::span<const int> rows);

}  // namespace kestrelink
