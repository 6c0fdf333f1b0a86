#include "tests/support/samples.h"

namespace kestrelink::testing {

device::AnnouncementFields SampleAnnouncementFields() {
    device::AnnouncementFields fields;
    fields.serialNumber = 4000000000u;
    fields.ipAddress = 0xC0A8010A;
    fields.ipAddressText = "192.168.1.10";
    fields.macAddress = kSampleMac;
    fields.productName = "Gateway Pro";
    fields.givenName = "Roof";
    fields.version = "4.0.1";
    return fields;
}

IpSettings SampleSettings() {
    IpSettings settings;
    settings.ipAddress = 0xC0A80132;
    settings.subnetMask = 0xFFFFFF00;
    settings.gateway = 0xC0A80101;
    settings.dnsServer = 0xC0A80102;
    settings.password = "secret";
    settings.hostName = "Unit";
    return settings;
}

}  // namespace kestrelink::testing
