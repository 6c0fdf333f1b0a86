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
#include "provisioning/plan_checks.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink::cli {
namespace {

using provisioning::Outcome;

std::string Looks(const provisioning::Appearance& seen) {
    return "at " + TerminalText(Latin1ToUtf8(seen.ip)) + " as '" +
           TerminalText(Latin1ToUtf8(seen.givenName)) + "'";
}

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
          m_err(err) {}

    void Finished(std::size_t step, const provisioning::StepResult& result) override {
        m_progress.Clear();
        Count(result.outcome);
        const DiscoveredDevice& device = m_targets[step].device;
        const std::string late = device.mac + ": not confirmed within " +
                                 std::to_string(m_options.wait.count()) + " ms: it ";
        switch (result.outcome) {
            case Outcome::Confirmed:
                m_out << "configured " << device.mac << ": answers " << Looks(*result.lastSeen)
                      << '\n'
                      << std::flush;
                return;
            case Outcome::Sent:
                m_out << "sent " << DescribeRequest(device, m_targets[step].settings) << '\n'
                      << std::flush;
                return;
            case Outcome::NotConfirmable:
                Complain(m_err, device.mac +
                                    ": sent, not confirmed: the request changes nothing that "
                                    "announcements show (address and given name)");
                return;
            case Outcome::AnswersAsBefore:
                Complain(m_err, late + "answers as before, " + Looks(*result.lastSeen));
                return;
            case Outcome::AnswersOtherwise:
                Complain(m_err, late + "answers " + Looks(*result.lastSeen));
                return;
            case Outcome::Silent:
                Complain(m_err, late + "did not answer again");
                return;
            case Outcome::SendFailed:
                Complain(m_err, device.mac + ": the request could not be sent");
                return;
            case Outcome::Blocked:
                Complain(m_err, device.mac + ": not sent: ip " +
                                    Latin1ToUtf8(*m_steps[step].newIp) + " is still held by " +
                                    m_targets[*result.blocker].device.mac);
                return;
        }
    }

    void Progress(const provisioning::ProgressCounts& counts) override { m_progress.Show(counts); }

    const ProvisionTally& Tally() const { return m_tally; }

private:
    void Count(Outcome outcome) {
        if (provisioning::IsFailure(outcome)) {
            ++m_tally.failed;
        } else if (outcome == Outcome::Confirmed) {
            ++m_tally.configured;
        } else if (outcome == Outcome::Sent) {
            ++m_tally.sent;
        } else {
            ++m_tally.notConfirmable;
        }
    }

    std::span<const ProvisionTarget> m_targets;
    std::span<const provisioning::ProvisioningStep> m_steps;
    const ProvisionOptions& m_options;
    ProgressLine& m_progress;
    std::ostream& m_out;
    std::ostream& m_err;
    ProvisionTally m_tally;
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

ExitStatus ProvisionTally::Status() const {
    if (failed > 0) {
        return ExitStatus::Failure;
    }
    return notConfirmable > 0 ? ExitStatus::NotConfirmed : ExitStatus::Success;
}

std::string ProvisionTally::Summary(bool verify) const {
    if (!verify) {
        return std::to_string(sent) + " sent, " + std::to_string(failed) + " failed";
    }
    return std::to_string(configured) + " configured, " + std::to_string(notConfirmable) +
           " not confirmable, " + std::to_string(failed) + " failed";
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

ProvisionTally ProvisionAll(DeviceSession& session, std::span<const ProvisionTarget> targets,
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
    SessionLink link(session, targets);
    LineWriter writer(targets, steps, options, progress, out, err);
    provisioning::ProvisioningRun(steps, std::move(waitsFor), settings, link, writer).Run();
    progress.Clear();

    const auto setResponses = heard.SetResponses();
    WarnOfSetResponses(std::span(setResponses).subspan(setResponsesBefore), heard.Devices(), err);
    return writer.Tally();
}

}  // namespace kestrelink::cli
