#pragma once

#include <optional>
#include <string>

namespace kestrelink::provisioning {

// All that an announcement tells of a device's settings: its address and its given name, as
// the device's own single-byte texts.
struct Appearance {
    std::string ip;
    std::string givenName;

    bool operator==(const Appearance&) const = default;
};

// One device's request, reduced to what announcements can show of it.
struct ProvisioningStep {
    std::string mac;
    Appearance before;                   // as the device announced itself before the request
    std::optional<std::string> newIp;    // nullopt: the device is to lease one by DHCP
    std::optional<std::string> newName;  // nullopt: the request carries no name (08bits)
};

// A device's own answer is the only evidence: it must show every announced value the request
// sets, and at least one of them must differ from before, or an old announcement would pass.
// A DHCP lease shows only as an address other than before (0.0.0.0 is no lease).
bool Confirms(const ProvisioningStep& step, const Appearance& seen);

// True when announcements would look the same whether or not the device took the request: a
// new mask, gateway or DNS server, or a request that repeats the current address and name.
bool ShowsNoChange(const ProvisioningStep& step);

}  // namespace kestrelink::provisioning
