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

bool RequestCarries(DeviceFamily family, RequestField field) {
    switch (field) {
        case RequestField::DnsServer:
        case RequestField::HostName:
            return family == DeviceFamily::Bits32;
    }
    return false;
}

std::uint16_t DevicePort(DeviceFamily family) {
    return family == DeviceFamily::Bits32 ? DEVICE_PORT_32 : DEVICE_PORT_08;
}

}  // namespace kestrelink
