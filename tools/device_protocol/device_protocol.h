#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What a device knows of the protocol, written down apart from the program's wire code: the
// simulator and the tests speak to the program through this, so a slip on either side shows
// as a device that answers wrongly instead of being copied into both.
namespace kestrelink::device {

enum class Family { Bits08, Bits32 };

using Mac = std::array<std::uint8_t, 6>;

inline constexpr std::uint16_t kPort08 = 43210;
inline constexpr std::uint16_t kPort32 = 54321;

// Both go out least significant byte first; the 32bits forms widen them with two zero bytes.
inline constexpr std::uint16_t kProbeMagic = 0x5A5A;
inline constexpr std::uint16_t kConfigMagic = 0xA5A5;

inline constexpr std::size_t kProbe08Length = 2;
inline constexpr std::size_t kProbe32Length = 4;
inline constexpr std::size_t kAnnouncement08Length = 70;
inline constexpr std::size_t kAnnouncement32Length = 232;
inline constexpr std::size_t kSetResponse08Length = 44;
inline constexpr std::size_t kSetResponse32Length = 204;
inline constexpr std::size_t kConfigRequest08Length = 36;
inline constexpr std::size_t kConfigRequest32Length = 196;

std::uint16_t PortOf(Family family);

}  // namespace kestrelink::device
