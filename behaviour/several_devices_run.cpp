#include "behaviour/several_devices_run.h"

#include <utility>

#include "behaviour/several_devices_sightings.h"
#include "behaviour/ui_thread.h"
#include "net/endpoint.h"

namespace kestrelink {
namespace {

using Clock = provisioning::DeviceLink::Clock;

// The window's endpoint as a run's link. Once stopped, nothing more leaves, and time runs out
// for the devices still pending.
class EndpointLink final : public provisioning::DeviceLink {
public:
    EndpointLink(Endpoint& endpoint, SeveralDevicesSightings& sightings,
                 const std::vector<SeveralTarget>& targets, const std::atomic<bool>& stopped)
        : m_endpoint(endpoint), m_sightings(sightings), m_targets(targets), m_stopped(stopped) {}

    Clock::time_point Now() override {
        return m_stopped ? Clock::time_point::max() - std::chrono::hours(24) : Clock::now();
    }
    void SleepUntil(Clock::time_point wake) override { m_sightings.WaitUntil(wake); }
    bool Send(std::size_t step) override {
        return !m_stopped &&
               SendConfigRequest(m_endpoint, m_targets[step].device, m_targets[step].settings);
    }
    void Probe() override {
        if (!m_stopped) {
            m_endpoint.ClearProbesSent();
            m_endpoint.SendProbes();
        }
    }
    std::vector<provisioning::Sighting> Listen(Clock::time_point wake) override {
        return m_stopped ? std::vector<provisioning::Sighting>() : m_sightings.Take(wake);
    }

private:
    Endpoint& m_endpoint;
    SeveralDevicesSightings& m_sightings;
    const std::vector<SeveralTarget>& m_targets;
    const std::atomic<bool>& m_stopped;
};

// Posts each result to the user-interface thread as it is known.
class PostingObserver final : public provisioning::RunObserver {
public:
    PostingObserver(UiThread& uiThread, std::shared_ptr<std::atomic<bool>> alive,
                    SeveralRunReports& reports)
        : m_uiThread(uiThread), m_alive(std::move(alive)), m_reports(reports) {}

    void Finished(std::size_t step, const provisioning::StepResult& result) override {
        m_uiThread.Post([alive = m_alive, finished = m_reports.finished, step, result] {
            if (*alive) {
                finished(step, result);
            }
        });
    }
    void Progress(const provisioning::ProgressCounts&) override {}

private:
    UiThread& m_uiThread;
    std::shared_ptr<std::atomic<bool>> m_alive;
    SeveralRunReports& m_reports;
};

}  // namespace

SeveralDevicesRun::SeveralDevicesRun(Endpoint& endpoint, SeveralDevicesSightings& sightings,
                                     UiThread& uiThread, provisioning::RunSettings settings)
    : m_endpoint(endpoint),
      m_sightings(sightings),
      m_uiThread(uiThread),
      m_settings(settings),
      m_stopped(std::make_shared<std::atomic<bool>>(false)),
      m_alive(std::make_shared<std::atomic<bool>>(true)) {}

SeveralDevicesRun::~SeveralDevicesRun() {
    *m_alive = false;
    Stop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_sightings.Drop();
}

void SeveralDevicesRun::Start(std::vector<SeveralTarget> targets,
                              std::vector<std::vector<std::size_t>> waitsFor,
                              SeveralRunReports reports) {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    *m_stopped = false;
    // Only what the devices announce from here on can show what they made of their requests.
    m_sightings.Keep();
    m_thread = std::thread([this, targets = std::move(targets), waitsFor = std::move(waitsFor),
                            reports = std::move(reports)]() mutable {
        std::vector<provisioning::ProvisioningStep> steps;
        for (const SeveralTarget& target : targets) {
            steps.push_back(target.step);
        }
        EndpointLink link(m_endpoint, m_sightings, targets, *m_stopped);
        PostingObserver observer(m_uiThread, m_alive, reports);
        provisioning::ProvisioningRun(steps, std::move(waitsFor), m_settings, link, observer).Run();
        m_sightings.Drop();
        m_uiThread.Post([alive = m_alive, over = reports.over] {
            if (*alive) {
                over();
            }
        });
    });
}

void SeveralDevicesRun::Stop() {
    *m_stopped = true;
    m_sightings.Interrupt();
}

}  // namespace kestrelink
