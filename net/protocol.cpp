#include "net/protocol.h"

namespace kestrelink {

DatagramKind ClassifyDatagram(std::uint16_t sourcePort, std::size_t length) {
    if (sourcePort == DEVICE_PORT_08) {
        if (length == ANNOUNCEMENT08_LENGTH) {
            return DatagramKind::Announcement08;
        }
        if (length == IP_SET_RESPONSE08_LENGTH) {
            return DatagramKind::IpSetResponse08;
        }
    } else if (sourcePort == DEVICE_PORT_32) {
        if (length == ANNOUNCEMENT32_LENGTH) {
            return DatagramKind::Announcement32;
        }
        if (length == IP_SET_RESPONSE32_LENGTH) {
            return DatagramKind::IpSetResponse32;
        }
    }
    return DatagramKind::NotInProtocol;
}

std::uint16_t DevicePort(DeviceFamily family) {
    return family == DeviceFamily::Bits32 ? DEVICE_PORT_32 : DEVICE_PORT_08;
}

}  // namespace kestrelink
