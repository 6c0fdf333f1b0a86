#include "provisioning/listed_device.h"

#include "net/device_row.h"

namespace kestrelink::provisioning {

std::string_view FamilyText(DeviceFamily family) {
    return family == DeviceFamily::Bits32 ? kArchText32 : kArchText08;
}

}  // namespace kestrelink::provisioning
