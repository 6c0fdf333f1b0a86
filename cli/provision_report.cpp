#include "cli/provision_report.h"

#include <ostream>
#include <string_view>
#include <thread>

#include "cli/diagnostic.h"
#include "cli/discovery_collector.h"
#include "cli/progress_line.h"
#include "cli/terminal_text.h"
#include "net/latin1_text.h"
#include "net/protocol.h"
#include "net/text_forms.h"
#include "provisioning/as_built_record.h"
#include "provisioning/plan_checks.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink::cli {
namespace {

using provisioning::Outcome;

// The endpoint and the system clock, as a run needs them.
class SessionLink final : public provisioning::DeviceLink {
public:
    SessionLink(DeviceSession& session, std::span<const ProvisionTarget> targets)
        : m_session(session), m_targets(targets) {}

    Clock::time_point Now() override { return Clock::now(); }
    void SleepUntil(Clock::time_point wake) override { std::this_thread::sleep_until(wake); }
    bool Send(std::size_t step) override {
        return m_session.Send(m_targets[step].device, m_targets[step].settings);
    }
    void Probe() override { m_session.Probe(); }
    std::vector<provisioning::Sighting> Listen(Clock::time_point wake) override {
        std::vector<provisioning::Sighting> sightings;
        for (DiscoveredDevice& device : m_session.Heard().TakeNews(wake)) {
            sightings.push_back(
                {std::move(device.mac), {std::move(device.ip), std::move(device.givenName)}});
        }
        return sightings;
    }

private:
    DeviceSession& m_session;
    std::span<const ProvisionTarget> m_targets;
};

// Writes each device's line as its result is known, around the progress line.
class LineWriter final : public provisioning::RunObserver {
public:
    LineWriter(std::span<const ProvisionTarget> targets,
               std::span<const provisioning::ProvisioningStep> steps,
               const ProvisionOptions& options, ProgressLine& progress, std::ostream& out,
               std::ostream& err)
        : m_targets(targets),
          m_steps(steps),
          m_options(options),
          m_progress(progress),
          m_out(out),
          m_err(err) {
        m_outcome.reasons.resize(targets.size());
    }

    void Finished(std::size_t step, const provisioning::StepResult& result) override {
        m_progress.Clear();
        m_outcome.tally.Count(result.outcome);
        const DiscoveredDevice& device = m_targets[step].device;
        provisioning::WordsContext context{m_options.wait, {}, TerminalText};
        if (result.blocker) {
            context.blockerMac = m_targets[*result.blocker].device.mac;
        }
        const std::string reason = provisioning::ResultReason(m_steps[step], result, context);
        context.shown = nullptr;
        m_outcome.reasons[step] = provisioning::ResultReason(m_steps[step], result, context);
        switch (result.outcome) {
            case Outcome::Confirmed:
                m_out << "configured " << device.mac << ": " << reason << '\n' << std::flush;
                return;
            case Outcome::Sent:
                m_out << "sent " << DescribeRequest(device, m_targets[step].settings) << '\n'
                      << std::flush;
                return;
            default:
                Complain(m_err, device.mac + ": " + reason);
                return;
        }
    }

    void Progress(const provisioning::ProgressCounts& counts) override { m_progress.Show(counts); }

    ProvisionOutcome Take(std::vector<provisioning::StepResult> results) {
        m_outcome.results = std::move(results);
        return std::move(m_outcome);
    }

private:
    std::span<const ProvisionTarget> m_targets;
    std::span<const provisioning::ProvisioningStep> m_steps;
    const ProvisionOptions& m_options;
    ProgressLine& m_progress;
    std::ostream& m_out;
    std::ostream& m_err;
    ProvisionOutcome m_outcome;
};

// A set response names no device and no request: all it shows is who sent it.
void WarnOfSetResponses(std::span<const DiscoveryCollector::Sender> senders,
                        const std::vector<DiscoveredDevice>& heard, std::ostream& err) {
    for (const DiscoveryCollector::Sender& sender : senders) {
        const std::string address(FormatDottedQuad(sender.address).View());
        const DeviceFamily family =
            sender.port == DEVICE_PORT_32 ? DeviceFamily::Bits32 : DeviceFamily::Bits08;
        std::string who = "no device heard announces that address";
        for (const DiscoveredDevice& device : heard) {
            if (device.ip == address && device.family == family) {
                who = "announced by " + device.mac;
                break;
            }
        }
        Complain(err, "warning: a set response came from " + address + " port " +
                          std::to_string(sender.port) + " (" + who + "); it confirms nothing");
    }
}

}  // namespace

ExitStatus StatusOf(const provisioning::RunTally& tally) {
    if (tally.failed > 0) {
        return ExitStatus::Failure;
    }
    return tally.notConfirmable > 0 ? ExitStatus::NotConfirmed : ExitStatus::Success;
}

std::string DescribeRequest(const DiscoveredDevice& device, const IpSettings& settings) {
    std::string text = std::string(FamilyText(device.family)) + " request to " + device.mac + ":";
    if (settings.useDhcp) {
        text += " dhcp";
    } else {
        const auto add = [&text](std::string_view key, std::uint32_t address) {
            text.append(key).append(FormatDottedQuad(address).View());
        };
        add(" ip=", settings.ipAddress);
        add(" mask=", settings.subnetMask);
        add(" gateway=", settings.gateway);
        if (RequestCarries(device.family, RequestField::DnsServer)) {
            add(" dns=", settings.dnsServer);
        }
    }
    if (RequestCarries(device.family, RequestField::HostName)) {
        text += " name=" + TerminalText(Latin1ToUtf8(settings.hostName));
    }
    return text;
}

ProvisionOutcome ProvisionAll(DeviceSession& session, std::span<const ProvisionTarget> targets,
                              std::vector<std::vector<std::size_t>> waitsFor,
                              const ProvisionOptions& options, ProgressLine& progress,
                              std::ostream& out, std::ostream& err) {
    std::vector<provisioning::ProvisioningStep> steps;
    for (const ProvisionTarget& target : targets) {
        steps.push_back(provisioning::StepOf(ListedOf(target.device), target.settings));
    }
    DiscoveryCollector& heard = session.Heard();
    const std::size_t setResponsesBefore = heard.SetResponses().size();
    // Only what the devices announce from here on can show what they made of their requests.
    heard.KeepNews();

    provisioning::RunSettings settings;
    settings.verify = options.verify;
    settings.wait = options.wait;
    settings.resends = options.resends;
    settings.resendAfter = options.resendAfter;
    SessionLink link(session, targets);
    LineWriter writer(targets, steps, options, progress, out, err);
    ProvisionOutcome outcome = writer.Take(
        provisioning::ProvisioningRun(steps, std::move(waitsFor), settings, link, writer).Run());
    progress.Clear();

    const auto setResponses = heard.SetResponses();
    WarnOfSetResponses(std::span(setResponses).subspan(setResponsesBefore), heard.Devices(), err);
    return outcome;
}

bool WriteRecord(std::span<const ProvisionTarget> targets, const ProvisionOutcome& outcome,
                 const ProvisionOptions& options, std::ostream& err) {
    if (options.recordPath.empty()) {
        return true;
    }
    std::vector<provisioning::RecordEntry> entries;
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const DiscoveredDevice& device = targets[k].device;
        const provisioning::StepResult& result = outcome.results[k];
        const auto wall = [](const auto& moment) {
            return moment ? std::optional(provisioning::WallClockOf(*moment)) : std::nullopt;
        };
        entries.push_back({device.mac, device.serialNumber, device.productName, device.family,
                           device.ip, device.givenName, targets[k].settings, result.requests,
                           result.outcome, outcome.reasons[k], wall(result.sentAt),
                           wall(result.confirmedAt)});
    }
    if (const auto failure = provisioning::ReplaceFileWhole(options.recordPath,
                                                            provisioning::FormatRecord(entries))) {
        Complain(err, "the record was not written: " + *failure);
        return false;
    }
    return true;
}

}  // namespace kestrelink::cli
