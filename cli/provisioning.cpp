#include "cli/provisioning.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "cli/device_session.h"
#include "cli/device_text.h"
#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "net/datagrams.h"

namespace kestrelink::cli {
namespace {

using Clock = std::chrono::steady_clock;

// A device may take a moment to apply its settings and answer a probe with the old ones; asking
// again this often finds the change soon without flooding the segment.
constexpr std::chrono::milliseconds kReprobeInterval{500};
constexpr std::string_view kNoAddress = "0.0.0.0";

std::string Dotted(std::uint32_t address) {
    return std::string(FormatDottedQuad(address).View());
}

// How the device must announce itself once it has taken the request.
struct Expectation {
    std::optional<std::string> ip;  // nullopt: any address but 0.0.0.0, as DHCP leases one
    std::string givenName;

    bool MetBy(const DiscoveredDevice& seen) const {
        const bool addressTaken = ip ? seen.ip == *ip : seen.ip != kNoAddress;
        return addressTaken && seen.givenName == givenName;
    }
};

Expectation ExpectationOf(const DiscoveredDevice& device, const IpSettings& settings) {
    Expectation expected;
    if (!settings.useDhcp) {
        expected.ip = Dotted(settings.ipAddress);
    }
    // An 08bits request carries no name: the device keeps its own.
    expected.givenName =
        device.family == DeviceFamily::Bits32 ? settings.hostName : device.givenName;
    return expected;
}

std::string Appearance(const DiscoveredDevice& device) {
    return "answers at " + Latin1ToUtf8(device.ip) + " as '" + Latin1ToUtf8(device.givenName) + "'";
}

bool Verify(DeviceSession& session, const DiscoveredDevice& device, const IpSettings& settings,
            std::chrono::milliseconds wait, std::ostream& out, std::ostream& err) {
    DiscoveryCollector& heard = session.Heard();
    const Expectation expected = ExpectationOf(device, settings);
    std::optional<DiscoveredDevice> confirmed;
    const auto taken = [&](const DiscoveryCollector::DevicesByMac& devices) {
        const auto seen = devices.find(device.mac);
        if (seen != devices.end() && expected.MetBy(seen->second)) {
            confirmed = seen->second;
        }
        return confirmed.has_value();
    };
    // What the device said before the request proves nothing.
    heard.Forget();
    const Clock::time_point deadline = Clock::now() + wait;
    do {
        session.Probe();
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (heard.WaitUntil(taken,
                            std::clamp(left, std::chrono::milliseconds(0), kReprobeInterval))) {
            out << "configured " << device.mac << ": " << Appearance(*confirmed) << '\n';
            return true;
        }
    } while (Clock::now() < deadline);
    const auto seen = heard.Find(device.mac);
    Complain(err, device.mac + ": not confirmed within " + std::to_string(wait.count()) + " ms; " +
                      (seen ? "it " + Appearance(*seen) : "it did not answer again"));
    return false;
}

}  // namespace

std::string DescribeRequest(const DiscoveredDevice& device, const IpSettings& settings) {
    std::string text = std::string(FamilyText(device.family)) + " request to " + device.mac + ":";
    if (settings.useDhcp) {
        text += " dhcp";
    } else {
        text += " ip=" + Dotted(settings.ipAddress) + " mask=" + Dotted(settings.subnetMask) +
                " gateway=" + Dotted(settings.gateway);
        if (device.family == DeviceFamily::Bits32) {
            text += " dns=" + Dotted(settings.dnsServer);
        }
    }
    if (device.family == DeviceFamily::Bits32) {
        text += " name=" + Latin1ToUtf8(settings.hostName);
    }
    return text;
}

bool Provision(DeviceSession& session, const DiscoveredDevice& device, const IpSettings& settings,
               const ProvisionOptions& options, std::ostream& out, std::ostream& err) {
    const int responsesBefore = session.Heard().SetResponses();
    bool done = false;
    if (!session.Send(device, settings)) {
        Complain(err, device.mac + ": the request could not be sent");
    } else if (options.verify) {
        done = Verify(session, device, settings, options.wait, out, err);
    } else {
        out << "sent " << DescribeRequest(device, settings) << '\n';
        done = true;
    }
    if (session.Heard().SetResponses() > responsesBefore) {
        Complain(err, "warning: a device answered the request to " + device.mac +
                          " with a set response");
    }
    return done;
}

}  // namespace kestrelink::cli
