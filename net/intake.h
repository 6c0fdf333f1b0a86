#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "net/device_list.h"
#include "net/device_row.h"
#include "net/listener_hand_over.h"
#include "net/protocol.h"
#include "net/short_text.h"
#include "net/udp_socket.h"

namespace kestrelink {

// How many queued datagrams one read takes and one hand-over carries: enough that a burst costs
// few hand-overs, few enough that the list is repainted between them.
inline constexpr std::size_t kIntakeBatchLength = 32;

// Working storage of the intake, allocated once and reused for every read. A slot holds the
// longest datagram the protocol receives; a longer one does not fit and is dropped.
struct IntakeBuffers {
    std::array<std::uint8_t, kIntakeBatchLength * kAnnouncement32Length> datagrams{};
    std::array<ReceivedDatagram, kIntakeBatchLength> received{};
    std::array<Arrival, kIntakeBatchLength> arrivals{};
};

// Reads the datagrams already queued, up to a batch, and hands its announcements and set
// responses over as one step, in arrival order; anything else is consumed and dropped. An
// announcement goes over with the one of probed that it came in on.
void ReceiveDatagrams(UdpSocket& socket, ListenerHandOver& handOver, IntakeBuffers& buffers,
                      std::span<const NetworkInterface> probed = {});

// The texts the intake forms itself; the other cells are views into the datagram.
struct FormedTexts {
    ShortText ip;
    ShortText mac;
    ShortText serial;
};
RowCells FormRowCells(const Announcement& announcement, FormedTexts& texts);

// The row an announcement makes, with texts of its own, which outlives the datagram it came in.
std::unique_ptr<PreparedRow> PrepareRow(const Announcement& announcement);

// Runs on the side that owns the list: drop the device's old row, refuse an IP that another row
// shows, otherwise insert.
void TakeInAnnouncement(DeviceList& list, std::unique_ptr<PreparedRow> row);
void TakeInAnnouncement(DeviceList& list, const Announcement& announcement);

}  // namespace kestrelink
