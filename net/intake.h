#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "net/device_row.h"
#include "net/protocol.h"
#include "net/short_text.h"

namespace kestrelink {

struct Announcement;
class DeviceList;
struct NetworkInterface;
class ListenerHandOver;
class UdpSocket;

// Working storage of the intake, allocated once and reused for every datagram.
struct IntakeBuffers {
    std::array<std::uint8_t, kAnnouncement08Length> small{};
    std::array<std::uint8_t, kAnnouncement32Length> large{};
};

// Reads exactly one queued datagram and hands an announcement or a set response over; anything
// else, and a datagram longer than the large buffer, is consumed and dropped. An announcement
// goes over with the one of probed that it came in on.
void ReceiveDatagram(UdpSocket& socket, ListenerHandOver& handOver, IntakeBuffers& buffers,
                     std::span<const NetworkInterface> probed = {});

// The texts the intake forms itself; the other cells are views into the datagram.
struct FormedTexts {
    ShortText ip;
    ShortText mac;
    ShortText serial;
};
RowCells FormRowCells(const Announcement& announcement, FormedTexts& texts);

// Runs on the side that owns the list: drop the device's old row, refuse an IP that another row
// shows, otherwise insert.
void TakeInAnnouncement(DeviceList& list, const Announcement& announcement);

}  // namespace kestrelink
