#include "behaviour/several_devices_opening.h"

#include "net/device_list.h"
#include "net/latin1_text.h"

namespace kestrelink {

std::vector<SeveralDevice> SeveralDevices(const DeviceList& list, std::span<const int> rows) {
    std::vector<SeveralDevice> devices;
    for (const int row : rows) {
        const auto cell = [&](int column) { return Latin1ToUtf8(list.CellText(row, column)); };
        const NetworkInterface* heardOn = list.HeardOn(row);
        devices.push_back({cell(kColumnMac), cell(kColumnSerialNo), cell(kColumnProductName),
                           cell(kColumnArch), cell(kColumnIp), cell(kColumnGivenName),
                           heardOn != nullptr ? heardOn->name : std::string()});
    }
    return devices;
}

}  // namespace kestrelink
