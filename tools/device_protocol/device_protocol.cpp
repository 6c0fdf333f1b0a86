#include "tools/device_protocol/device_protocol.h"

namespace kestrelink::device {

std::uint16_t PortOf(Family family) {
    return family == Family::Bits32 ? kPort32 : kPort08;
}

}  // namespace kestrelink::device
