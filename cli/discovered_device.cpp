#include "cli/discovered_device.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

#include "net/datagrams.h"
#include "net/device_row.h"
#include "net/intake.h"
#include "net/row_comparators.h"
#include "net/subnet.h"
#include "net/text_forms.h"

namespace kestrelink::cli {

DiscoveredDevice RecordOf(const Announcement& announcement, std::string interfaceName) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    const std::string ip(cells[kColumnIp]);
    return {
        .ip = ip,
        .mac = std::string(cells[kColumnMac]),
        .productName = std::string(cells[kColumnProductName]),
        .givenName = std::string(cells[kColumnGivenName]),
        .version = std::string(cells[kColumnVersion]),
        .serialNumber = announcement.serialNumber,
        .family = announcement.family,
        .interfaceName = std::move(interfaceName),
        .outside = announcement.heardOn != nullptr && IsOutsideNetwork(ip, *announcement.heardOn)};
}

std::vector<DiscoveredDevice> ListInOrder(std::vector<DiscoveredDevice> devices) {
    std::map<std::string, int> devicesPerIp;
    for (const DiscoveredDevice& device : devices) {
        ++devicesPerIp[device.ip];
    }
    for (DiscoveredDevice& device : devices) {
        device.conflict = devicesPerIp[device.ip] > 1;
    }
    std::sort(devices.begin(), devices.end(),
              [](const DiscoveredDevice& first, const DiscoveredDevice& second) {
                  return std::tuple(IpSortKey(first.ip), MacTextToNumber(first.mac)) <
                         std::tuple(IpSortKey(second.ip), MacTextToNumber(second.mac));
              });
    return devices;
}

DeviceRow RowOf(const DiscoveredDevice& device) {
    return {device.ip,
            device.mac,
            device.productName,
            device.givenName,
            device.version,
            std::string(FormatSerialText(device.serialNumber).View()),
            std::string(FamilyText(device.family))};
}

DiscoveredDevice DeviceOfRow(const DeviceRow& row) {
    std::uint32_t serial = 0;
    const std::string& serialText = row[kColumnSerialNo];
    std::from_chars(serialText.data(), serialText.data() + serialText.size(), serial);
    DiscoveredDevice device;
    device.ip = row[kColumnIp];
    device.mac = row[kColumnMac];
    device.productName = row[kColumnProductName];
    device.givenName = row[kColumnGivenName];
    device.version = row[kColumnVersion];
    device.serialNumber = serial;
    device.family = row[kColumnArch] == kArchText32 ? DeviceFamily::Bits32 : DeviceFamily::Bits08;
    return device;
}

std::string_view FamilyText(DeviceFamily family) {
    return family == DeviceFamily::Bits32 ? kArchText32 : kArchText08;
}

}  // namespace kestrelink::cli
