#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "cli/device_session.h"

namespace kestrelink {
struct IpSettings;
}

namespace kestrelink::cli {

struct DiscoveredDevice;

struct ProvisionOptions {
    bool verify = false;
    std::chrono::milliseconds wait = kDefaultWait;  // how long verification may take
};

// "32bits request to MAC: ip=... mask=... gateway=... dns=... name=...": what goes on the wire,
// the password aside.
std::string DescribeRequest(const DiscoveredDevice& device, const IpSettings& settings);

// Sends the device its request once and, with verify, probes again until the device answers
// with the new address (any but 0.0.0.0 for DHCP) and name. One line on out when it worked, on
// err when not; a set response that arrives meanwhile is a warning on err. True when it worked.
bool Provision(DeviceSession& session, const DiscoveredDevice& device, const IpSettings& settings,
               const ProvisionOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
