#include "cli/discover_command.h"

#include <thread>

#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"

namespace kestrelink::cli {

ExitStatus RunDiscover(const DiscoverOptions& options, std::ostream& out, std::ostream& err) {
    InterfaceScope scope(options.interfaces);
    if (const std::string problem = scope.CheckNames(); !problem.empty()) {
        Complain(err, problem);
        return ExitStatus::BadInput;
    }
    DeviceSession session(std::move(scope));
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    std::this_thread::sleep_for(options.wait);
    const std::vector<DiscoveredDevice> devices = session.Heard().Devices();
    WriteDevices(out, options.format, devices);
    if (devices.size() < static_cast<std::size_t>(options.expect)) {
        Complain(err, "expected at least " + std::to_string(options.expect) + " devices, " +
                          std::to_string(devices.size()) + " answered within " +
                          std::to_string(options.wait.count()) + " ms");
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

}  // namespace kestrelink::cli
