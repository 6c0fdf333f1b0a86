#include "behaviour/empty_round.h"

#include "behaviour/device_filter.h"
#include "net/interfaces.h"

namespace kestrelink {

CountLabel EmptyRoundLabel(std::span<const NetworkInterface> probed, bool firewallClosed) {
    std::string networks;
    for (const NetworkInterface& way : probed) {
        networks += (networks.empty() ? "" : ", ") + way.name + " " +
                    FormatNetwork(way.address, way.prefixLength);
        for (const InterfaceNetwork& further : way.furtherNetworks) {
            networks += " " + FormatNetwork(further.address, further.prefixLength);
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
