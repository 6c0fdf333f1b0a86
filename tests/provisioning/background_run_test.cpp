#include "provisioning/background_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrelink::provisioning {
namespace {

// Devices that never answer: a verified run waits in Listen until it is interrupted, on a clock
// that moves only when told to.
class QuietLink final : public DeviceLink {
public:
    Clock::time_point Now() override { return Clock::time_point{}; }
    void SleepUntil(Clock::time_point) override {}
    bool Send(std::size_t step) override {
        std::lock_guard lock(m_mutex);
        sent.push_back(step);
        m_changed.notify_all();
        return true;
    }
    void Probe() override {}
    std::vector<Sighting> Listen(Clock::time_point) override {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_interrupted; });
        return {};
    }
    void Interrupt() override {
        std::lock_guard lock(m_mutex);
        m_interrupted = true;
        m_changed.notify_all();
    }
    void AwaitSends(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return sent.size() >= count; });
    }

    std::vector<std::size_t> sent;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_interrupted = false;
};

ProvisioningStep Step(int number, std::string newIp) {
    const std::string n = std::to_string(number);
    return {"02:00:00:00:00:0" + n, {"10.213.1." + n, "unit-" + n}, std::move(newIp), "unit-" + n};
}

TEST(BackgroundRunTest, StopEndsTheRunAndEveryStepComesAsNews) {
    QuietLink link;
    std::atomic<int> notices = 0;
    RunSettings settings;
    settings.verify = true;
    // The second step waits for the first to leave its address, so it is never sent.
    BackgroundRun run({Step(1, "10.213.7.1"), Step(2, "10.213.1.1")}, {{}, {0}}, settings, link,
                      [&notices] { ++notices; });
    link.AwaitSends(1);
    run.Stop();
    std::vector<std::pair<std::size_t, Outcome>> finished;
    for (RunNews news; !news.over; std::this_thread::yield()) {
        news = run.TakeNews();
        for (const auto& [step, result] : news.finished) {
            finished.emplace_back(step, result.outcome);
        }
    }
    EXPECT_EQ(finished, (std::vector<std::pair<std::size_t, Outcome>>{
                            {0, Outcome::StoppedPending}, {1, Outcome::StoppedUnsent}}));
    EXPECT_EQ(link.sent, std::vector<std::size_t>{0});
    EXPECT_GT(notices, 0);
}

}  // namespace
}  // namespace kestrelink::provisioning
