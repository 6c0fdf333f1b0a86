#include "net/protocol.h"

namespace kestrelink {

DatagramKind ClassifyDatagram(std::uint16_t sourcePort, std::size_t length) {
    if (sourcePort == DEVICE_PORT_08) {
        if (length == kAnnouncement08Length) {
            return DatagramKind::Announcement08;
        }
        if (length == kIpSetResponse08Length) {
            return DatagramKind::IpSetResponse08;
        }
    } else if (sourcePort == DEVICE_PORT_32) {
        if (length == kAnnouncement32Length) {
            return DatagramKind::Announcement32;
        }
        if (length == kIpSetResponse32Length) {
            return DatagramKind::IpSetResponse32;
        }
    }
    return DatagramKind::NotInProtocol;
}

std::uint16_t DevicePort(DeviceFamily family) {
    return family == DeviceFamily::Bits32 ? DEVICE_PORT_32 : DEVICE_PORT_08;
}

}  // namespace kestrelink
