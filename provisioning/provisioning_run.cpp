#include "provisioning/provisioning_run.h"

#include <algorithm>

namespace kestrelink::provisioning {

bool IsFailure(Outcome outcome) {
    return outcome != Outcome::Sent && outcome != Outcome::Confirmed &&
           outcome != Outcome::NotConfirmable;
}

ProvisioningRun::ProvisioningRun(std::span<const ProvisioningStep> steps,
                                 std::vector<std::vector<std::size_t>> waitsFor,
                                 const RunSettings& settings, DeviceLink& link,
                                 RunObserver& observer)
    : m_steps(steps),
      m_waitsFor(std::move(waitsFor)),
      m_waitedOnBy(steps.size()),
      m_unmetWaits(steps.size(), 0),
      m_settings(settings),
      m_link(link),
      m_observer(observer),
      m_pacer(settings.pace),
      m_states(steps.size(), State::Waiting),
      m_results(steps.size()),
      m_deadlines(steps.size()) {
    m_waitsFor.resize(steps.size());
    for (std::size_t k = 0; k < steps.size(); ++k) {
        m_stepOfMac.emplace(steps[k].mac, k);
        m_unmetWaits[k] = m_waitsFor[k].size();
        for (const std::size_t holder : m_waitsFor[k]) {
            m_waitedOnBy[holder].push_back(k);
        }
        if (m_waitsFor[k].empty()) {
            m_states[k] = State::Ready;
            m_ready.push_back(k);
        }
    }
}

std::vector<StepResult> ProvisioningRun::Run() {
    std::optional<DeviceLink::Clock::time_point> nextProbe;
    for (;;) {
        SendReady();
        const DeviceLink::Clock::time_point now = m_link.Now();
        ExpireDue(now);
        if (!m_ready.empty()) {
            continue;
        }
        const auto deadline = EarliestDeadline();
        if (!deadline) {
            break;
        }
        if (!nextProbe || now >= *nextProbe) {
            m_link.Probe();
            nextProbe = now + m_settings.round;
        }
        for (const Sighting& sighting : m_link.Listen(std::min(*nextProbe, *deadline))) {
            Take(sighting);
        }
        m_observer.Progress(m_counts);
    }
    return std::move(m_results);
}

void ProvisioningRun::SendReady() {
    // Releasing a step without verification readies the steps that wait for it, behind it.
    for (std::size_t next = 0; next < m_ready.size(); ++next) {
        const std::size_t step = m_ready[next];
        const DeviceLink::Clock::time_point slot = m_pacer.NextSlot(m_link.Now());
        if (slot > m_link.Now()) {
            m_link.SleepUntil(slot);
        }
        if (!m_link.Send(step)) {
            Finish(step, Outcome::SendFailed);
            continue;
        }
        ++m_counts.sent;
        if (!m_settings.verify) {
            Finish(step, Outcome::Sent);
        } else if (ShowsNoChange(m_steps[step])) {
            Finish(step, Outcome::NotConfirmable);
        } else {
            m_states[step] = State::Pending;
            m_deadlines[step] = m_link.Now() + m_settings.wait;
            ++m_counts.pending;
        }
        m_observer.Progress(m_counts);
    }
    m_ready.clear();
}

void ProvisioningRun::Finish(std::size_t step, Outcome outcome, std::optional<Appearance> lastSeen,
                             std::optional<std::size_t> blocker) {
    if (m_states[step] == State::Pending) {
        --m_counts.pending;
    }
    m_states[step] = State::Done;
    if (outcome == Outcome::Confirmed) {
        ++m_counts.confirmed;
    }
    const bool left = outcome == Outcome::Confirmed || outcome == Outcome::Sent;
    m_results[step] = {outcome, std::move(lastSeen), blocker};
    m_observer.Finished(step, m_results[step]);
    Release(step, left);
}

void ProvisioningRun::Release(std::size_t step, bool left) {
    for (const std::size_t waiting : m_waitedOnBy[step]) {
        if (m_states[waiting] != State::Waiting) {
            continue;
        }
        if (!left) {
            Finish(waiting, Outcome::Blocked, std::nullopt, step);
        } else if (--m_unmetWaits[waiting] == 0) {
            m_states[waiting] = State::Ready;
            m_ready.push_back(waiting);
        }
    }
}

void ProvisioningRun::ExpireDue(DeviceLink::Clock::time_point now) {
    for (std::size_t step = 0; step < m_steps.size(); ++step) {
        if (m_states[step] != State::Pending || m_deadlines[step] > now) {
            continue;
        }
        const std::optional<Appearance> lastSeen = m_results[step].lastSeen;
        const Outcome outcome = !lastSeen                           ? Outcome::Silent
                                : *lastSeen == m_steps[step].before ? Outcome::AnswersAsBefore
                                                                    : Outcome::AnswersOtherwise;
        Finish(step, outcome, lastSeen);
    }
}

void ProvisioningRun::Take(const Sighting& sighting) {
    const auto found = m_stepOfMac.find(sighting.mac);
    if (found == m_stepOfMac.end() || m_states[found->second] != State::Pending) {
        return;
    }
    const std::size_t step = found->second;
    m_results[step].lastSeen = sighting.appearance;
    if (Confirms(m_steps[step], sighting.appearance)) {
        Finish(step, Outcome::Confirmed, sighting.appearance);
    }
}

std::optional<DeviceLink::Clock::time_point> ProvisioningRun::EarliestDeadline() const {
    std::optional<DeviceLink::Clock::time_point> earliest;
    for (std::size_t step = 0; step < m_steps.size(); ++step) {
        if (m_states[step] == State::Pending && (!earliest || m_deadlines[step] < *earliest)) {
            earliest = m_deadlines[step];
        }
    }
    return earliest;
}

}  // namespace kestrelink::provisioning
