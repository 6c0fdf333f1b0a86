#include "cli/plan_command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

#include "cli/device_session.h"
#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/progress_line.h"
#include "provisioning/move_order.h"
#include "provisioning/plan_checks.h"
#include "provisioning/plan_file.h"

namespace kestrelink::cli {
namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

using provisioning::EntryProblem;
using provisioning::PlanEntry;

// A plan entry together with the device that answered for it.
struct Step {
    const PlanEntry* entry = nullptr;
    DiscoveredDevice device;
};

// The checks that need the devices that answered, each problem on err. A device that did not
// answer may yet; any other problem is the plan's own.
std::optional<ExitStatus> CheckAgainstNetwork(const PlanOptions& options,
                                              const provisioning::Plan& plan,
                                              const std::vector<DiscoveredDevice>& devices,
                                              std::vector<Step>& steps, std::ostream& err) {
    std::vector<provisioning::ListedDevice> listed;
    for (const DiscoveredDevice& device : devices) {
        listed.push_back(ListedOf(device));
    }
    const std::vector<EntryProblem> problems =
        provisioning::CheckAgainstListed(plan.entries, listed, provisioning::kPlanColumns);
    bool badInput = false;
    for (const EntryProblem& problem : problems) {
        const PlanEntry& entry = plan.entries[problem.entry];
        const std::string text = problem.kind == EntryProblem::Kind::NotListed
                                     ? "no device with MAC " + entry.request.mac +
                                           " answered within " +
                                           std::to_string(options.provision.wait.count()) + " ms"
                                     : problem.text;
        Complain(err, options.path + ":" + std::to_string(entry.line) + ": " + text);
        badInput = badInput || problem.kind != EntryProblem::Kind::NotListed;
    }
    if (!problems.empty()) {
        return badInput ? ExitStatus::BadInput : ExitStatus::Failure;
    }
    for (const PlanEntry& entry : plan.entries) {
        steps.push_back({&entry, *std::find_if(devices.begin(), devices.end(), [&](const auto& d) {
                             return d.mac == entry.request.mac;
                         })});
    }
    return std::nullopt;
}

// Every device must have answered, those the plan leaves out included: their addresses are
// taken. A probe pair per round finds a device whose answer was lost; once every planned device
// has answered, a round that brings no device not heard before shows that the segment has.
void ListenForPlan(DeviceSession& session, const provisioning::Plan& plan,
                   std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kRound{500};
    const Clock::time_point end = Clock::now() + wait;
    const auto remaining = [&end](Clock::time_point until) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::min(until, end) -
                                                                     Clock::now());
    };
    const auto allPlannedHeard = [&plan](const DiscoveryCollector::DevicesByMac& devices) {
        return std::all_of(plan.entries.begin(), plan.entries.end(), [&](const PlanEntry& entry) {
            return devices.contains(entry.request.mac);
        });
    };
    Clock::time_point nextProbe = Clock::now() + kRound;
    while (!session.Heard().WaitUntil(allPlannedHeard, remaining(nextProbe))) {
        if (Clock::now() >= end) {
            return;
        }
        session.Probe();
        nextProbe += kRound;
    }
    for (;;) {
        const std::size_t heard = session.Heard().Devices().size();
        session.Probe();
        std::this_thread::sleep_until(std::min(Clock::now() + kRound, end));
        if (session.Heard().Devices().size() == heard || Clock::now() >= end) {
            return;
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
    const provisioning::Plan plan = provisioning::ReadPlan(*text, options.path, options.addresses);
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
    ListenForPlan(session, plan, options.provision.wait);
    std::vector<Step> steps;
    if (const auto refused =
            CheckAgainstNetwork(options, plan, session.Heard().Devices(), steps, err)) {
        return *refused;
    }

    std::vector<ProvisionTarget> targets;
    std::vector<provisioning::ProvisioningStep> moves;
    for (const Step& step : steps) {
        targets.push_back(
            {step.device, provisioning::SettingsFor(step.entry->request, ListedOf(step.device))});
        moves.push_back(provisioning::StepOf(ListedOf(step.device), targets.back().settings));
    }
    provisioning::MoveOrder order = provisioning::OrderMoves(moves);
    if (!order.cycle.empty()) {
        std::string lines;
        for (const std::size_t step : order.cycle) {
            lines += (lines.empty() ? "" : ", ") + std::to_string(steps[step].entry->line);
        }
        Complain(err,
                 options.path + ": lines " + lines + " " + std::string(provisioning::kCycleWords));
        return ExitStatus::BadInput;
    }
    if (options.dryRun) {
        for (const ProvisionTarget& target : targets) {
            out << "would send " << DescribeRequest(target.device, target.settings) << '\n';
        }
        return ExitStatus::Success;
    }
    ProgressLine progress(err, StandardErrorIsTerminal(), targets.size());
    const ProvisionOutcome outcome = ProvisionAll(session, targets, std::move(order.waitsFor),
                                                  options.provision, progress, out, err);
    out << outcome.tally.Summary(options.provision.verify) << '\n';
    if (!WriteRecord(targets, outcome, options.provision, err)) {
        return ExitStatus::Failure;
    }
    return StatusOf(outcome.tally);
}

}  // namespace kestrelink::cli
