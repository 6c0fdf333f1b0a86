#include "cli/plan_command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>
#include <set>
#include <thread>
#include <vector>

#include "cli/device_session.h"
#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/plan_file.h"
#include "cli/progress_line.h"
#include "cli/whole_file.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"
#include "provisioning/move_order.h"

namespace kestrelink::cli {
namespace {

// A plan entry together with the device that answered for it.
struct Step {
    const PlanEntry* entry = nullptr;
    DiscoveredDevice device;
};

// The checks that need the devices that answered. A device that did not answer may yet; any
// other problem is the plan's own.
class PlanAgainstNetwork final {
public:
    PlanAgainstNetwork(const PlanOptions& options, std::vector<DiscoveredDevice> devices)
        : m_options(options), m_devices(std::move(devices)) {}

    std::vector<Step> Check(const Plan& plan);
    const std::vector<std::string>& Problems() const { return m_problems; }
    ExitStatus Status() const { return m_badInput ? ExitStatus::BadInput : ExitStatus::Failure; }

private:
    void Problem(const PlanEntry& entry, const std::string& text, bool badInput) {
        m_problems.push_back(m_options.path + ":" + std::to_string(entry.line) + ": " + text);
        m_badInput = m_badInput || badInput;
    }
    void CheckAddressIsFree(const PlanEntry& entry, const std::set<std::string>& plannedMacs);

    const PlanOptions& m_options;
    std::vector<DiscoveredDevice> m_devices;
    std::vector<std::string> m_problems;
    bool m_badInput = false;
};

std::vector<Step> PlanAgainstNetwork::Check(const Plan& plan) {
    std::set<std::string> plannedMacs;
    for (const PlanEntry& entry : plan.entries) {
        plannedMacs.insert(entry.request.mac);
    }
    std::vector<Step> steps;
    for (const PlanEntry& entry : plan.entries) {
        CheckAddressIsFree(entry, plannedMacs);
        const auto device = std::find_if(m_devices.begin(), m_devices.end(),
                                         [&](const auto& d) { return d.mac == entry.request.mac; });
        if (device == m_devices.end()) {
            Problem(entry,
                    "no device with MAC " + entry.request.mac + " answered within " +
                        std::to_string(m_options.provision.wait.count()) + " ms",
                    false);
            continue;
        }
        if (const std::string problem = CheckRequestForDevice(entry.request, *device, kPlanColumns);
            !problem.empty()) {
            Problem(entry, problem, true);
            continue;
        }
        steps.push_back({&entry, *device});
    }
    return steps;
}

// Another device on the address would make both unreachable; a device in the plan may take the
// address of another once that one has left it.
void PlanAgainstNetwork::CheckAddressIsFree(const PlanEntry& entry,
                                            const std::set<std::string>& plannedMacs) {
    const IpSettings& settings = entry.request.settings;
    if (settings.useDhcp) {
        return;
    }
    const std::string ip(FormatDottedQuad(settings.ipAddress).View());
    for (const DiscoveredDevice& device : m_devices) {
        if (device.ip == ip && !plannedMacs.contains(device.mac)) {
            Problem(entry,
                    "ip " + ip + " is in use by " + device.mac + " ('" +
                        Latin1ToUtf8(device.givenName) + "'), which the plan leaves out",
                    true);
        }
    }
}

}  // namespace

ExitStatus RunPlan(const PlanOptions& options, std::ostream& out, std::ostream& err) {
    const auto text = ReadWholeFile(options.path);
    if (!text) {
        Complain(err, "cannot read plan '" + options.path + "': " + std::strerror(errno));
        return ExitStatus::BadInput;
    }
    const Plan plan = ReadPlan(*text, options.path, options.addresses);
    for (const std::string& problem : plan.problems) {
        Complain(err, problem);
    }
    if (!plan.problems.empty()) {
        return ExitStatus::BadInput;
    }

    DeviceSession session{InterfaceScope()};
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    // Every device must have answered, those the plan leaves out included: their addresses
    // are taken.
    std::this_thread::sleep_for(options.provision.wait);
    PlanAgainstNetwork network(options, session.Heard().Devices());
    const std::vector<Step> steps = network.Check(plan);
    for (const std::string& problem : network.Problems()) {
        Complain(err, problem);
    }
    if (!network.Problems().empty()) {
        return network.Status();
    }

    std::vector<ProvisionTarget> targets;
    std::vector<provisioning::ProvisioningStep> moves;
    for (const Step& step : steps) {
        targets.push_back({step.device, SettingsFor(step.entry->request, step.device)});
        moves.push_back(StepOf(targets.back()));
    }
    provisioning::MoveOrder order = provisioning::OrderMoves(moves);
    if (!order.cycle.empty()) {
        std::string lines;
        for (const std::size_t step : order.cycle) {
            lines += (lines.empty() ? "" : ", ") + std::to_string(steps[step].entry->line);
        }
        Complain(err, options.path + ": lines " + lines +
                          " move their devices in a cycle, each onto the address the next "
                          "holds; send one to a free address first");
        return ExitStatus::BadInput;
    }
    if (options.dryRun) {
        for (const ProvisionTarget& target : targets) {
            out << "would send " << DescribeRequest(target.device, target.settings) << '\n';
        }
        return ExitStatus::Success;
    }
    ProgressLine progress(err, StandardErrorIsTerminal(), targets.size());
    const ProvisionTally tally = ProvisionAll(session, targets, std::move(order.waitsFor),
                                              options.provision, progress, out, err);
    out << tally.Summary(options.provision.verify) << '\n';
    return tally.Status();
}

}  // namespace kestrelink::cli
