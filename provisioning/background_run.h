#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "provisioning/provisioning_run.h"

namespace kestrelink::provisioning {

// What a run has told since it was last asked.
struct RunNews {
    std::vector<std::pair<std::size_t, StepResult>> finished;  // step and result, as they came
    ProgressCounts counts;                                     // the latest
    bool over = false;  // every step has its result; nothing more will come
};

// A ProvisioningRun on a thread of its own, for a caller that must never wait on the network:
// the window's user-interface thread. How the window drives it:
//  - On its own thread it builds the steps (StepOf), their order (OrderMoves, refusing a cycle)
//    and a DeviceLink. The link is then called on the run's thread only, except Interrupt, which
//    Stop calls on the caller's; its Listen hands over the announcements that the window's
//    listener takes in meanwhile, under a lock of the link's own.
//  - Constructing a BackgroundRun starts the run at once.
//  - notify is called on the run's thread when news is waiting and none was waiting before. It
//    must do nothing but post a call to the caller's thread (PostMessage, a queued
//    QMetaObject::invokeMethod); that call takes the news with TakeNews, which never blocks for
//    longer than a copy under a lock, and shows each result (ResultReason, RecordOutcome) and,
//    once over, the summary (RunTally).
//  - Stop returns at once; the results of the steps it leaves come as news like any other.
//  - Destroying a BackgroundRun stops the run and joins its thread; the link must outlive it.
class BackgroundRun final : private RunObserver {
public:
    BackgroundRun(std::vector<ProvisioningStep> steps,
                  std::vector<std::vector<std::size_t>> waitsFor, RunSettings settings,
                  DeviceLink& link, std::function<void()> notify);
    ~BackgroundRun();
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    void Stop();
    RunNews TakeNews();

private:
    void Finished(std::size_t step, const StepResult& result) override;
    void Progress(const ProgressCounts& counts) override;
    void Post(const std::function<void(RunNews&)>& change);

    const std::vector<ProvisioningStep> m_steps;
    const RunSettings m_settings;
    const std::function<void()> m_notify;
    ProvisioningRun m_run;
    std::mutex m_mutex;
    RunNews m_news;
    bool m_waiting = false;  // news not yet taken
    std::thread m_thread;
};

}  // namespace kestrelink::provisioning
