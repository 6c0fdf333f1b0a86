#include "behaviour/empty_round.h"

#include "behaviour/device_filter.h"
#include "net/interfaces.h"
#include "net/text_forms.h"

namespace kestrelink {
namespace {

std::string NetworkText(std::uint32_t address, int prefixLength) {
    return std::string(FormatDottedQuad(address).View()) + "/" + std::to_string(prefixLength);
}

}  // namespace

CountLabel EmptyRoundLabel(std::span<const NetworkInterface> probed, bool firewallClosed) {
    std::string networks;
    for (const NetworkInterface& way : probed) {
        networks += (networks.empty() ? "" : ", ") + way.name + " " +
                    NetworkText(way.address, way.prefixLength);
        for (const InterfaceNetwork& further : way.furtherNetworks) {
            networks += " " + NetworkText(further.address, further.prefixLength);
        }
    }
    CountLabel label{"No device answered", networks.empty()
                                               ? "No network was probed: no adapter is up."
                                               : "Probed: " + networks};
    if (firewallClosed) {
        label.tooltip +=
            "\nNo Windows Defender Firewall rule lets Kestrelink in: answers may be blocked.";
    }
    return label;
}

CountLabel DeviceCountLabel(int shown, int total, bool filtering,
                            const std::optional<CountLabel>& emptyRound) {
    if (total == 0 && emptyRound) {
        return *emptyRound;
    }
    return {DeviceCountText(shown, total, filtering), {}};
}

}  // namespace kestrelink
