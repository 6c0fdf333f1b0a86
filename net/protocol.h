#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrelink {

// The protocol's own names for its magic numbers and ports.
inline constexpr std::uint16_t PROBE_MAGIC = 0x5A5A;
inline constexpr std::uint16_t CONFIG_MAGIC = 0xA5A5;

inline constexpr std::uint16_t DEVICE_PORT_08 = 43210;
inline constexpr std::uint16_t DEVICE_PORT_32 = 54321;
inline constexpr std::uint16_t LOCAL_PORT = 54320;

// 255.255.255.255 in host order: every datagram the program sends goes there.
inline constexpr std::uint32_t kBroadcastAddress = 0xFFFFFFFFu;

inline constexpr std::size_t kProbe08Length = 2;
inline constexpr std::size_t kProbe32Length = 4;
inline constexpr std::size_t kAnnouncement08Length = 70;
inline constexpr std::size_t kAnnouncement32Length = 232;
inline constexpr std::size_t kIpSetResponse08Length = 44;
inline constexpr std::size_t kIpSetResponse32Length = 204;
inline constexpr std::size_t kConfigRequest08Length = 36;
inline constexpr std::size_t kConfigRequest32Length = 196;

enum class DeviceFamily { Bits08, Bits32 };

// The settings that not every family's configuration request has room for: a Bits08 request
// carries neither, although the window's dialog asks for both.
enum class RequestField { DnsServer, HostName };

bool RequestCarries(DeviceFamily family, RequestField field);

// What a received datagram is, told apart only by its source port and exact length.
enum class DatagramKind {
    Announcement08,
    Announcement32,
    IpSetResponse08,
    IpSetResponse32,
    NotInProtocol,
};

DatagramKind ClassifyDatagram(std::uint16_t sourcePort, std::size_t length);

std::uint16_t DevicePort(DeviceFamily family);

}  // namespace kestrelink
