#include "net/intake.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "net/datagrams.h"
#include "net/interfaces.h"

namespace kestrelink {

void ReceiveDatagrams(UdpSocket& socket, ListenerHandOver& handOver, IntakeBuffers& buffers,
                      std::span<const NetworkInterface> probed) {
    const std::size_t taken =
        socket.ReceiveBatch(buffers.datagrams, kAnnouncement32Length, buffers.received);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < taken; ++k) {
        const ReceivedDatagram& received = buffers.received[k];
        if (received.length > kAnnouncement32Length) {
            continue;
        }
        const auto datagram = std::span<const std::uint8_t>(buffers.datagrams)
                                  .subspan(k * kAnnouncement32Length, received.length);
        const auto announcement = [&](std::optional<Announcement> decoded) {
            decoded->heardOn = FindInterface(probed, received.arrivalInterface);
            return Arrival{Arrival::Kind::Announcement, *decoded};
        };
        switch (ClassifyDatagram(received.sourcePort, received.length)) {
            case DatagramKind::Announcement08:
                buffers.arrivals[kept++] = announcement(DecodeAnnouncement08(datagram));
                break;
            case DatagramKind::Announcement32:
                buffers.arrivals[kept++] = announcement(DecodeAnnouncement32(datagram));
                break;
            case DatagramKind::IpSetResponse08:
            case DatagramKind::IpSetResponse32:
                buffers.arrivals[kept++] = {
                    Arrival::Kind::SetResponse, {}, received.sourceAddress, received.sourcePort};
                break;
            case DatagramKind::NotInProtocol:
                break;
        }
    }
    if (kept > 0) {
        handOver.TakeIn(std::span<const Arrival>(buffers.arrivals).first(kept));
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

std::unique_ptr<PreparedRow> PrepareRow(const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    DeviceRow row;
    std::copy(cells.begin(), cells.end(), row.begin());
    return std::make_unique<PreparedRow>(std::move(row), announcement.heardOn != nullptr
                                                             ? std::optional(*announcement.heardOn)
                                                             : std::optional<NetworkInterface>());
}

void TakeInAnnouncement(DeviceList& list, std::unique_ptr<PreparedRow> row) {
    if (list.ShowsUnchanged(*row)) {
        return;
    }
    list.DeleteRowWithMacOf(*row);
    if (list.HasRowWithIp(row->Cells()[kColumnIp])) {
        return;
    }
    list.InsertRow(std::move(row));
}

void TakeInAnnouncement(DeviceList& list, const Announcement& announcement) {
    TakeInAnnouncement(list, PrepareRow(announcement));
}

}  // namespace kestrelink
