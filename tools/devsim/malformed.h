#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "tools/device_protocol/device_protocol.h"

namespace kestrelink::devsim {

struct EmulatedDevice;

// Datagrams that a careful listener must survive, sent along with every probe answer.
enum class MalformedKind {
    Short,         // announcement one byte short
    Long,          // announcement one byte long
    Oversize,      // 300 bytes
    Swapped,       // the other family's announcement, from this family's port
    NoNul,         // full-length announcement whose every text fills its field
    DuplicateIp,   // a stranger announcing the first device's address
    DuplicateMac,  // the first device's MAC announced with a fresh address
};

std::optional<MalformedKind> ParseMalformedKind(std::string_view name);

struct MalformedDatagram {
    std::vector<std::uint8_t> bytes;
    // Duplicates go out after the family's own announcements, so that the device they copy has
    // been heard first; the rest go out before, so that good announcements follow them.
    bool afterAnnouncements = false;
};

// nullopt when the kind copies a device and the family has none.
std::optional<MalformedDatagram> BuildMalformed(MalformedKind kind, device::Family family,
                                                std::span<const EmulatedDevice> devices);

}  // namespace kestrelink::devsim
