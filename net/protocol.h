#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrelink {

inline constexpr std::uint16_t PROBE_MAGIC = 0x5A5A;
inline constexpr std::uint16_t CONFIG_MAGIC = 0xA5A5;

inline constexpr std::uint16_t DEVICE_PORT_08 = 43210;
inline constexpr std::uint16_t DEVICE_PORT_32 = 54321;
inline constexpr std::uint16_t LOCAL_PORT = 54320;

// 255.255.255.255 in host order: every datagram the program sends goes there.
inline constexpr std::uint32_t BROADCAST_ADDRESS = 0xFFFFFFFFu;

inline constexpr std::size_t PROBE08_LENGTH = 2;
inline constexpr std::size_t PROBE32_LENGTH = 4;
inline constexpr std::size_t ANNOUNCEMENT08_LENGTH = 70;
inline constexpr std::size_t ANNOUNCEMENT32_LENGTH = 232;
inline constexpr std::size_t IP_SET_RESPONSE08_LENGTH = 44;
inline constexpr std::size_t IP_SET_RESPONSE32_LENGTH = 204;
inline constexpr std::size_t CONFIG_REQUEST08_LENGTH = 36;
inline constexpr std::size_t CONFIG_REQUEST32_LENGTH = 196;

enum class DeviceFamily { Bits08, Bits32 };

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
