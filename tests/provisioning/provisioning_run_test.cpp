#include "provisioning/provisioning_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kestrelink::provisioning {
namespace {

using std::chrono::milliseconds;
using Clock = DeviceLink::Clock;

// A device as the scripted network plays it: how long after its request it takes the new
// settings (never, without), and whether it answers probes at all.
struct ScriptedDevice {
    ProvisioningStep step;
    std::optional<milliseconds> appliesAfter = milliseconds(0);
    bool answers = true;
    unsigned lostRequests = 0;  // its first requests never reach it
};

// Time moves only when the run waits; every answering device replies the moment it is probed.
// It also records what the run reports.
class ScriptedLink final : public DeviceLink, public RunObserver {
public:
    explicit ScriptedLink(std::vector<ScriptedDevice> devices)
        : m_devices(std::move(devices)), m_appliesAt(m_devices.size()) {}

    Clock::time_point Now() override { return m_now; }
    void SleepUntil(Clock::time_point wake) override { m_now = std::max(m_now, wake); }
    bool Send(std::size_t step) override {
        sends.push_back({step, Since(m_now)});
        if (m_devices[step].lostRequests > 0) {
            --m_devices[step].lostRequests;
        } else if (m_devices[step].appliesAfter) {
            m_appliesAt[step] = m_now + *m_devices[step].appliesAfter;
        }
        return true;
    }
    void Probe() override {
        probes.push_back(Since(m_now));
        for (std::size_t k = 0; k < m_devices.size(); ++k) {
            const ProvisioningStep& step = m_devices[k].step;
            Appearance now = step.before;
            if (m_appliesAt[k] && *m_appliesAt[k] <= m_now) {
                now = {step.newIp.value_or("10.213.9." + std::to_string(k + 1)),
                       step.newName.value_or(step.before.givenName)};
            }
            if (m_devices[k].answers) {
                m_heard.push_back({step.mac, now});
            }
        }
    }
    std::vector<Sighting> Listen(Clock::time_point wake) override {
        if (m_heard.empty()) {
            m_now = std::max(m_now, wake);
        }
        return std::exchange(m_heard, {});
    }
    void Finished(std::size_t step, const StepResult&) override {
        finished.push_back(step);
        if (stopOnFinish && *stopOnFinish == step) {
            run->Stop();
        }
    }
    void Progress(const ProgressCounts& counts) override { lastCounts = counts; }

    struct SendRecord {
        std::size_t step;
        milliseconds at;
        bool operator==(const SendRecord&) const = default;
    };
    std::vector<SendRecord> sends;
    std::vector<milliseconds> probes;
    std::vector<std::size_t> finished;
    ProgressCounts lastCounts;
    std::optional<std::size_t> stopOnFinish;
    ProvisioningRun* run = nullptr;

private:
    milliseconds Since(Clock::time_point t) const {
        return std::chrono::duration_cast<milliseconds>(t - kStart);
    }

    static constexpr Clock::time_point kStart{std::chrono::hours(1)};
    std::vector<ScriptedDevice> m_devices;
    std::vector<std::optional<Clock::time_point>> m_appliesAt;
    Clock::time_point m_now = kStart;
    std::vector<Sighting> m_heard;
};

ProvisioningStep Step(int number, std::optional<std::string> newIp) {
    const std::string n = std::to_string(number);
    return {"02:00:00:00:00:0" + n, {"10.213.1." + n, "unit-" + n}, std::move(newIp), "unit-" + n};
}

struct Ran {
    std::vector<Outcome> outcomes;
    std::vector<StepResult> results;
    ScriptedLink link;
};

Ran RunAgainst(const std::vector<ScriptedDevice>& devices, bool verify,
               std::vector<std::vector<std::size_t>> waitsFor = {}, unsigned resends = 0,
               std::optional<std::size_t> stopOnFinish = std::nullopt) {
    Ran ran{{}, {}, ScriptedLink(devices)};
    ran.link.stopOnFinish = stopOnFinish;
    std::vector<ProvisioningStep> steps;
    for (const ScriptedDevice& device : devices) {
        steps.push_back(device.step);
    }
    RunSettings settings;
    settings.verify = verify;
    settings.resends = resends;
    ProvisioningRun run(steps, std::move(waitsFor), settings, ran.link, ran.link);
    ran.link.run = &run;
    ran.results = run.Run();
    for (const StepResult& result : ran.results) {
        ran.outcomes.push_back(result.outcome);
    }
    return ran;
}

TEST(ProvisioningRunTest, EveryDeviceAtItsOwnPaceWithOneProbePairPerRound) {
    const Ran ran = RunAgainst({{Step(1, "10.213.7.1"), milliseconds(0)},
                                {Step(2, "10.213.7.2"), milliseconds(1200)},
                                {Step(3, std::nullopt), milliseconds(700)}},
                               true);
    EXPECT_EQ(ran.outcomes,
              (std::vector<Outcome>{Outcome::Confirmed, Outcome::Confirmed, Outcome::Confirmed}));
    EXPECT_EQ(ran.results[2].lastSeen, (Appearance{"10.213.9.3", "unit-3"}));
    EXPECT_EQ(ran.link.finished, (std::vector<std::size_t>{0, 2, 1}));
    // The slowest device takes its settings 1,200 ms after the requests: the fourth round sees it.
    EXPECT_EQ(ran.link.probes, (std::vector<milliseconds>{milliseconds(0), milliseconds(500),
                                                          milliseconds(1000), milliseconds(1500)}));
    EXPECT_EQ(ran.link.lastCounts.confirmed, 3u);
    EXPECT_EQ(ran.link.lastCounts.pending, 0u);
}

TEST(ProvisioningRunTest, EachUnconfirmedDeviceSaysWhyAtItsOwnDeadline) {
    ScriptedDevice refuses{Step(1, "10.213.7.1"), std::nullopt};
    ScriptedDevice silent{Step(2, "10.213.7.2"), milliseconds(0), false};
    ScriptedDevice unchanged{Step(3, "10.213.1.3"), milliseconds(0)};
    const Ran ran = RunAgainst({refuses, silent, unchanged}, true);
    EXPECT_EQ(ran.outcomes, (std::vector<Outcome>{Outcome::AnswersAsBefore, Outcome::Silent,
                                                  Outcome::NotConfirmable}));
    EXPECT_EQ(ran.results[0].lastSeen, refuses.step.before);
    EXPECT_EQ(ran.link.probes.size(), 4u) << "2,000 ms of rounds of 500 ms";
}

TEST(ProvisioningRunTest, AMoveOntoAHeldAddressGoesOnlyOnceTheHolderIsConfirmed) {
    // Device 2 takes device 1's address; device 1 takes 900 ms to leave it.
    const Ran ran = RunAgainst(
        {{Step(1, "10.213.7.1"), milliseconds(900)}, {Step(2, "10.213.1.1"), milliseconds(0)}},
        true, {{}, {0}});
    EXPECT_EQ(ran.outcomes, (std::vector<Outcome>{Outcome::Confirmed, Outcome::Confirmed}));
    EXPECT_EQ(ran.link.sends, (std::vector<ScriptedLink::SendRecord>{{0, milliseconds(0)},
                                                                     {1, milliseconds(1000)}}));
}

TEST(ProvisioningRunTest, AHolderThatStaysBlocksTheMoveOntoItsAddress) {
    const Ran ran = RunAgainst({{Step(1, "10.213.7.1"), std::nullopt},
                                {Step(2, "10.213.1.1"), milliseconds(0)},
                                {Step(3, "10.213.1.2"), milliseconds(0)}},
                               true, {{}, {0}, {1}});
    EXPECT_EQ(ran.outcomes,
              (std::vector<Outcome>{Outcome::AnswersAsBefore, Outcome::Blocked, Outcome::Blocked}));
    EXPECT_EQ(ran.results[2].blocker, 1u);
    EXPECT_EQ(ran.link.sends.size(), 1u);
}

TEST(ProvisioningRunTest, WithoutVerificationHoldersAreSentFirstAndNothingIsProbed) {
    const Ran ran =
        RunAgainst({{Step(1, "10.213.1.2")}, {Step(2, "10.213.1.3")}, {Step(3, "10.213.7.3")}},
                   false, {{1}, {2}, {}});
    EXPECT_EQ(ran.outcomes, (std::vector<Outcome>{Outcome::Sent, Outcome::Sent, Outcome::Sent}));
    EXPECT_EQ(ran.link.sends,
              (std::vector<ScriptedLink::SendRecord>{
                  {2, milliseconds(0)}, {1, milliseconds(0)}, {0, milliseconds(0)}}));
    EXPECT_TRUE(ran.link.probes.empty());
}

TEST(ProvisioningRunTest, ADeviceThatStillAnswersAsBeforeGetsItsRequestAgain) {
    ScriptedDevice lostOnce{Step(1, "10.213.7.1"), milliseconds(0)};
    lostOnce.lostRequests = 1;
    const ScriptedDevice refuses{Step(2, "10.213.7.2"), std::nullopt};
    const ScriptedDevice silent{Step(3, "10.213.7.3"), milliseconds(0), false};
    const Ran ran = RunAgainst({lostOnce, refuses, silent}, true, {}, 2);
    EXPECT_EQ(ran.outcomes, (std::vector<Outcome>{Outcome::Confirmed, Outcome::AnswersAsBefore,
                                                  Outcome::Silent}));
    // Resent 3,000 ms after the one before; the refusing device's wait runs from its third.
    EXPECT_EQ(ran.link.sends, (std::vector<ScriptedLink::SendRecord>{{0, milliseconds(0)},
                                                                     {1, milliseconds(0)},
                                                                     {2, milliseconds(0)},
                                                                     {0, milliseconds(3000)},
                                                                     {1, milliseconds(3000)},
                                                                     {1, milliseconds(6000)}}));
    EXPECT_EQ(ran.link.probes.back(), milliseconds(7500));
    EXPECT_EQ(ran.results[0].requests, 2u);
    EXPECT_EQ(ran.results[1].requests, 3u);
    EXPECT_EQ(ran.results[2].requests, 1u);
    const Clock::time_point start{std::chrono::hours(1)};
    EXPECT_EQ(ran.results[0].sentAt, start);
    EXPECT_EQ(ran.results[0].confirmedAt, start + milliseconds(3000));
    EXPECT_EQ(ran.results[1].confirmedAt, std::nullopt);
}

TEST(ProvisioningRunTest, AStoppedRunSendsNothingMoreAndSaysWhatWasLeft) {
    const Ran unverified =
        RunAgainst({{Step(1, "10.213.7.1")}, {Step(2, "10.213.7.2")}, {Step(3, "10.213.7.3")}},
                   false, {}, 0, 0);
    EXPECT_EQ(unverified.outcomes, (std::vector<Outcome>{Outcome::Sent, Outcome::StoppedUnsent,
                                                         Outcome::StoppedUnsent}));
    EXPECT_EQ(unverified.link.sends.size(), 1u);
}

}  // namespace
}  // namespace kestrelink::provisioning
