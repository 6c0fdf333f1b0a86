#include "net/intake.h"

#include <span>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/interfaces.h"
#include "net/listener_hand_over.h"
#include "net/udp_socket.h"

namespace kestrelink {

void ReceiveDatagram(UdpSocket& socket, ListenerHandOver& handOver, IntakeBuffers& buffers,
                     std::span<const NetworkInterface> probed) {
    const auto queuedLength = socket.PeekLength();
    if (!queuedLength) {
        return;
    }
    const std::span<std::uint8_t> buffer = *queuedLength <= buffers.small.size()
                                               ? std::span<std::uint8_t>(buffers.small)
                                               : std::span<std::uint8_t>(buffers.large);
    const auto received = socket.Receive(buffer);
    if (!received) {
        return;
    }
    const auto datagram = buffer.first(received->length);
    const auto takeIn = [&](Announcement announcement) {
        announcement.heardOn = FindInterface(probed, received->arrivalInterface);
        handOver.TakeInAnnouncement(announcement);
    };
    switch (ClassifyDatagram(received->sourcePort, received->length)) {
        case DatagramKind::Announcement08:
            takeIn(*DecodeAnnouncement08(datagram));
            break;
        case DatagramKind::Announcement32:
            takeIn(*DecodeAnnouncement32(datagram));
            break;
        case DatagramKind::IpSetResponse08:
        case DatagramKind::IpSetResponse32:
            handOver.ShowSetResponse();
            break;
        case DatagramKind::NotInProtocol:
            break;
    }
}

RowCells FormRowCells(const Announcement& announcement, FormedTexts& texts) {
    const bool bits32 = announcement.family == DeviceFamily::Bits32;
    if (!bits32) {
        texts.ip = FormatAddressBytes(announcement.ipAddress);
    }
    texts.mac = FormatMacText(announcement.macAddress);
    texts.serial = FormatSerialText(announcement.serialNumber);
    return {bits32 ? announcement.ipAddressText : texts.ip.View(),
            texts.mac.View(),
            announcement.productName,
            announcement.givenName,
            announcement.version,
            texts.serial.View(),
            bits32 ? kArchText32 : kArchText08};
}

void TakeInAnnouncement(DeviceList& list, const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    list.DeleteRowByMac(announcement.macAddress);
    if (list.HasRowWithIp(cells[kColumnIp])) {
        return;
    }
    list.InsertRow(cells, announcement.heardOn);
}

}  // namespace kestrelink
