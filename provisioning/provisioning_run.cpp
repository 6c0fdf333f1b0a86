#include "provisioning/provisioning_run.h"

#include <algorithm>

namespace kestrelink::provisioning {

bool IsFailure(Outcome outcome) {
    return outcome != Outcome::Sent && outcome != Outcome::Confirmed &&
           outcome != Outcome::NotConfirmable && outcome != Outcome::StoppedUnsent &&
           outcome != Outcome::StoppedPending;
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
      m_deadlines(steps.size()),
      m_lastRequests(steps.size()) {
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
        if (m_stopped) {
            FinishStopped();
            break;
        }
        const DeviceLink::Clock::time_point now = m_link.Now();
        ResendDue(now);
        ExpireDue(now);
        if (!m_ready.empty()) {
            continue;
        }
        const auto due = NextDue();
        if (!due) {
            break;
        }
        if (!nextProbe || now >= *nextProbe) {
            m_link.Probe();
            nextProbe = now + m_settings.round;
        }
        for (const Sighting& sighting : m_link.Listen(std::min(*nextProbe, *due))) {
            Take(sighting);
        }
        m_observer.Progress(m_counts);
    }
    return std::move(m_results);
}

void ProvisioningRun::Stop() {
    m_stopped = true;
    m_link.Interrupt();
}

bool ProvisioningRun::Send(std::size_t step) {
    const DeviceLink::Clock::time_point slot = m_pacer.NextSlot(m_link.Now());
    if (slot > m_link.Now()) {
        m_link.SleepUntil(slot);
    }
    if (!m_link.Send(step)) {
        return false;
    }
    const DeviceLink::Clock::time_point now = m_link.Now();
    StepResult& result = m_results[step];
    ++result.requests;
    if (!result.sentAt) {
        result.sentAt = now;
    }
    m_lastRequests[step] = now;
    m_deadlines[step] = now + m_settings.wait;
    return true;
}

void ProvisioningRun::SendReady() {
    // Releasing a step without verification readies the steps that wait for it, behind it.
    for (std::size_t next = 0; next < m_ready.size() && !m_stopped; ++next) {
        const std::size_t step = m_ready[next];
        if (!Send(step)) {
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
            ++m_counts.pending;
        }
        m_observer.Progress(m_counts);
    }
    if (!m_stopped) {
        m_ready.clear();
    }
}

bool ProvisioningRun::AwaitsResend(std::size_t step) const {
    const StepResult& result = m_results[step];
    return result.requests <= m_settings.resends && result.lastSeen &&
           *result.lastSeen == m_steps[step].before;
}

void ProvisioningRun::ResendDue(DeviceLink::Clock::time_point now) {
    for (std::size_t step = 0; step < m_steps.size() && !m_stopped; ++step) {
        if (m_states[step] != State::Pending || !AwaitsResend(step) ||
            now < m_lastRequests[step] + m_settings.resendAfter) {
            continue;
        }
        // Only answers to the request now going out can show what the device made of it.
        m_results[step].lastSeen.reset();
        if (!Send(step)) {
            Finish(step, Outcome::SendFailed);
        }
    }
}

void ProvisioningRun::FinishStopped() {
    for (std::size_t step = 0; step < m_steps.size(); ++step) {
        if (m_states[step] == State::Pending) {
            Finish(step, Outcome::StoppedPending, m_results[step].lastSeen);
        } else if (m_states[step] != State::Done) {
            Finish(step, Outcome::StoppedUnsent);
        }
    }
    m_ready.clear();
}

void ProvisioningRun::Finish(std::size_t step, Outcome outcome, std::optional<Appearance> lastSeen,
                             std::optional<std::size_t> blocker) {
    if (m_states[step] == State::Pending) {
        --m_counts.pending;
    }
    m_states[step] = State::Done;
    StepResult& result = m_results[step];
    if (outcome == Outcome::Confirmed) {
        ++m_counts.confirmed;
        result.confirmedAt = m_link.Now();
    }
    const bool left = outcome == Outcome::Confirmed || outcome == Outcome::Sent;
    result.outcome = outcome;
    result.lastSeen = std::move(lastSeen);
    result.blocker = blocker;
    m_observer.Finished(step, result);
    Release(step, left);
}

void ProvisioningRun::Release(std::size_t step, bool left) {
    for (const std::size_t waiting : m_waitedOnBy[step]) {
        if (m_states[waiting] != State::Waiting) {
            continue;
        }
        if (!left) {
            Finish(waiting, m_stopped ? Outcome::StoppedUnsent : Outcome::Blocked, std::nullopt,
                   m_stopped ? std::nullopt : std::optional(step));
        } else if (--m_unmetWaits[waiting] == 0) {
            m_states[waiting] = State::Ready;
            m_ready.push_back(waiting);
        }
    }
}

void ProvisioningRun::ExpireDue(DeviceLink::Clock::time_point now) {
    for (std::size_t step = 0; step < m_steps.size(); ++step) {
        if (m_states[step] != State::Pending || m_deadlines[step] > now || AwaitsResend(step)) {
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

// The earliest moment a pending step is due: its resend or, failing that, its deadline.
std::optional<DeviceLink::Clock::time_point> ProvisioningRun::NextDue() const {
    std::optional<DeviceLink::Clock::time_point> earliest;
    for (std::size_t step = 0; step < m_steps.size(); ++step) {
        if (m_states[step] != State::Pending) {
            continue;
        }
        const DeviceLink::Clock::time_point due =
            AwaitsResend(step) ? m_lastRequests[step] + m_settings.resendAfter : m_deadlines[step];
        if (!earliest || due < *earliest) {
            earliest = due;
        }
    }
    return earliest;
}

}  // namespace kestrelink::provisioning
