#include "cli/configure_command.h"

#include "cli/device_session.h"
#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/progress_line.h"

namespace kestrelink::cli {
namespace {

constexpr FieldLabels kOptionLabels{"MAC",   "--ip",   "--mask",     "--gateway",
                                    "--dns", "--name", "--password", "--dhcp"};

}  // namespace

ExitStatus RunConfigure(const ConfigureOptions& options, std::ostream& out, std::ostream& err) {
    const CheckedRequest checked = CheckRequestFields(options.fields, kOptionLabels);
    for (const std::string& problem : checked.problems) {
        Complain(err, problem);
    }
    if (!checked.request) {
        return ExitStatus::BadInput;
    }
    const DeviceRequest& request = *checked.request;

    DeviceSession session{InterfaceScope()};
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    const std::chrono::milliseconds wait = options.provision.wait;
    // The device's own answer is all this needs: no point listening on once it is in.
    session.Heard().WaitUntil(
        [&](const DiscoveryCollector::DevicesByMac& devices) {
            return devices.contains(request.mac);
        },
        wait);
    const auto device = session.Heard().Find(request.mac);
    if (!device) {
        Complain(err, "no device with MAC " + request.mac + " answered within " +
                          std::to_string(wait.count()) + " ms");
        return ExitStatus::Failure;
    }
    if (const std::string problem = CheckRequestForDevice(request, *device, kOptionLabels);
        !problem.empty()) {
        Complain(err, problem);
        return ExitStatus::BadInput;
    }
    const ProvisionTarget target{*device, SettingsFor(request, *device)};
    ProgressLine noProgress(err, false, 1);
    return ProvisionAll(session, std::span(&target, 1), {}, options.provision, noProgress, out, err)
        .Status();
}

}  // namespace kestrelink::cli
