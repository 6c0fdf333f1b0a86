#include "cli/configure_command.h"

#include <algorithm>

#include "cli/device_session.h"
#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/progress_line.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"

namespace kestrelink::cli {
namespace {

using provisioning::AddressPolicy;
using provisioning::FieldLabels;

constexpr FieldLabels kOptionLabels{"MAC",   "--ip",   "--mask",     "--gateway",
                                    "--dns", "--name", "--password", "--dhcp"};

// Another device that announces ip; the device being configured may hold it already.
const DiscoveredDevice* OtherHolder(const DiscoveryCollector::DevicesByMac& devices,
                                    const std::string& ip, const std::string& mac) {
    const auto holder = std::find_if(devices.begin(), devices.end(), [&](const auto& entry) {
        return entry.first != mac && entry.second.ip == ip;
    });
    return holder == devices.end() ? nullptr : &holder->second;
}

}  // namespace

ExitStatus RunConfigure(const ConfigureOptions& options, std::ostream& out, std::ostream& err) {
    const provisioning::CheckedRequest checked =
        provisioning::CheckRequestFields(options.fields, kOptionLabels, options.addresses);
    for (const std::string& problem : checked.problems) {
        Complain(err, problem);
    }
    if (!checked.request) {
        return ExitStatus::BadInput;
    }
    const provisioning::DeviceRequest& request = *checked.request;

    DeviceSession session{InterfaceScope()};
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    const std::chrono::milliseconds wait = options.provision.wait;
    // The device's own answer is all DHCP needs. A static address must be free as well, and only
    // the whole wait shows that no other device holds it: two devices on one address both drop
    // out of reach.
    const bool addressMustBeFree =
        options.addresses == AddressPolicy::RefuseUnworkable && !request.settings.useDhcp;
    const std::string ip(FormatDottedQuad(request.settings.ipAddress).View());
    std::optional<DiscoveredDevice> holder;
    session.Heard().WaitUntil(
        [&](const DiscoveryCollector::DevicesByMac& devices) {
            if (!addressMustBeFree) {
                return devices.contains(request.mac);
            }
            if (const DiscoveredDevice* other = OtherHolder(devices, ip, request.mac)) {
                holder = *other;
            }
            return holder && devices.contains(request.mac);
        },
        wait);
    const auto device = session.Heard().Find(request.mac);
    if (!device) {
        Complain(err, "no device with MAC " + request.mac + " answered within " +
                          std::to_string(wait.count()) + " ms");
        return ExitStatus::Failure;
    }
    if (const std::string problem =
            provisioning::CheckRequestForDevice(request, ListedOf(*device), kOptionLabels);
        !problem.empty()) {
        Complain(err, problem);
        return ExitStatus::BadInput;
    }
    if (holder) {
        Complain(err, std::string(kOptionLabels.ip) + " " + ip + " is in use by " + holder->mac +
                          " ('" + Latin1ToUtf8(holder->givenName) + "')" +
                          std::string(provisioning::kForceHint));
        return ExitStatus::BadInput;
    }
    const ProvisionTarget target{*device, provisioning::SettingsFor(request, ListedOf(*device))};
    ProgressLine noProgress(err, false, 1);
    const ProvisionOutcome outcome =
        ProvisionAll(session, std::span(&target, 1), {}, options.provision, noProgress, out, err);
    if (!WriteRecord(std::span(&target, 1), outcome, options.provision, err)) {
        return ExitStatus::Failure;
    }
    return StatusOf(outcome.tally);
}

}  // namespace kestrelink::cli
