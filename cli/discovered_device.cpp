#include "cli/discovered_device.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "net/datagrams.h"
#include "net/device_row.h"
#include "net/intake.h"
#include "net/row_comparators.h"
#include "net/subnet.h"

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

provisioning::ListedDevice ListedOf(const DiscoveredDevice& device) {
    return {device.mac, device.ip, device.givenName, device.family};
}

}  // namespace kestrelink::cli
