#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "provisioning/confirmation.h"
#include "provisioning/device_link.h"
#include "provisioning/request_pacer.h"

namespace kestrelink::provisioning {

enum class Outcome {
    Sent,              // without verification: the request left, nothing more is known
    Confirmed,         // the device answers with what the request sets
    NotConfirmable,    // sent, but announcements cannot tell whether the device took it
    AnswersAsBefore,   // it answered again, with what it announced before the request
    AnswersOtherwise,  // it answered again, but not with what the request sets
    Silent,            // it did not answer again before its deadline
    SendFailed,        // the request did not leave
    Blocked,           // never sent: a device holding the address it takes did not leave it
    StoppedUnsent,     // never sent: the run was stopped first
    StoppedPending,    // sent, but the run was stopped before the device was confirmed
};

// Confirmed, Sent, NotConfirmable and StoppedPending are the outcomes of a request that left and
// did no harm known; StoppedUnsent is none at all; the rest are failures.
bool IsFailure(Outcome outcome);

struct StepResult {
    Outcome outcome = Outcome::Sent;
    std::optional<Appearance> lastSeen;  // its latest announcement after its latest request
    std::optional<std::size_t> blocker;  // for Blocked: the step that did not leave the address
    unsigned requests = 0;               // how often its request went out
    std::optional<DeviceLink::Clock::time_point> sentAt;       // its first request
    std::optional<DeviceLink::Clock::time_point> confirmedAt;  // the answer that confirmed it
};

struct ProgressCounts {
    std::size_t sent = 0;
    std::size_t confirmed = 0;
    std::size_t pending = 0;  // sent and still waiting for confirmation
};

// Told of each result as it is known, and of the counts whenever they change.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void Finished(std::size_t step, const StepResult& result) = 0;
    virtual void Progress(const ProgressCounts& counts) = 0;
};

struct RunSettings {
    bool verify = false;
    std::chrono::milliseconds wait{2000};  // each device's time to confirm, from its request
    // One probe pair per round asks every pending device at once: a device busy applying its
    // settings keeps its old ones for a while, and asking this often finds the change soon
    // without flooding the segment with answers.
    std::chrono::milliseconds round{500};
    PaceSettings pace;
    // A request or its answer may be lost: a device that still answers as it did before gets the
    // same request again, resendAfter after the previous one, at most resends times. Its wait
    // then counts from its latest request.
    unsigned resends = 2;
    std::chrono::milliseconds resendAfter{3000};
};

// Sends every step whose address is free, paced; with verification, probes in rounds until
// each device is confirmed or past its own deadline, and sends a step that waits for others
// once they have all been confirmed. Without verification, a step goes after those it waits
// for have been sent. waitsFor must be free of cycles. Run calls the link and the observer on
// the thread that runs it, and only there.
class ProvisioningRun final {
public:
    ProvisioningRun(std::span<const ProvisioningStep> steps,
                    std::vector<std::vector<std::size_t>> waitsFor, const RunSettings& settings,
                    DeviceLink& link, RunObserver& observer);

    // The result of every step, in the steps' order.
    std::vector<StepResult> Run();

    // From any thread: nothing more is sent; Run reports each step not yet sent as
    // StoppedUnsent, each still pending as StoppedPending, and returns.
    void Stop();

private:
    enum class State { Waiting, Ready, Pending, Done };

    bool Send(std::size_t step);
    void SendReady();
    void ResendDue(DeviceLink::Clock::time_point now);
    void FinishStopped();
    bool AwaitsResend(std::size_t step) const;
    void Finish(std::size_t step, Outcome outcome, std::optional<Appearance> lastSeen = {},
                std::optional<std::size_t> blocker = {});
    void Release(std::size_t step, bool left);
    void ExpireDue(DeviceLink::Clock::time_point now);
    void Take(const Sighting& sighting);
    std::optional<DeviceLink::Clock::time_point> NextDue() const;

    std::span<const ProvisioningStep> m_steps;
    std::unordered_map<std::string, std::size_t> m_stepOfMac;
    std::vector<std::vector<std::size_t>> m_waitsFor;
    std::vector<std::vector<std::size_t>> m_waitedOnBy;
    std::vector<std::size_t> m_unmetWaits;
    const RunSettings& m_settings;
    DeviceLink& m_link;
    RunObserver& m_observer;
    RequestPacer m_pacer;

    std::vector<State> m_states;
    std::vector<StepResult> m_results;
    std::vector<DeviceLink::Clock::time_point> m_deadlines;
    std::vector<DeviceLink::Clock::time_point> m_lastRequests;
    std::atomic<bool> m_stopped{false};
    std::vector<std::size_t> m_ready;  // in the order they became ready
    ProgressCounts m_counts;
};

}  // namespace kestrelink::provisioning
