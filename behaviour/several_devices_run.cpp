#include "behaviour/several_devices_run.h"

#include <utility>

#include "behaviour/several_devices_sightings.h"
#include "behaviour/ui_thread.h"
#include "net/endpoint.h"
#include "provisioning/background_run.h"

namespace kestrelink {

using Clock = provisioning::DeviceLink::Clock;

// The window's endpoint as a run's link, called on the run's thread.
class SeveralDevicesRun::Link final : public provisioning::DeviceLink {
public:
    Link(Endpoint& endpoint, SeveralDevicesSightings& sightings, std::vector<SeveralTarget> targets)
        : m_endpoint(endpoint), m_sightings(sightings), m_targets(std::move(targets)) {}

    Clock::time_point Now() override { return Clock::now(); }
    void SleepUntil(Clock::time_point wake) override { m_sightings.WaitUntil(wake); }
    bool Send(std::size_t step) override {
        return SendConfigRequest(m_endpoint, m_targets[step].device, m_targets[step].settings);
    }
    void Probe() override {
        m_endpoint.ClearProbesSent();
        m_endpoint.SendProbes();
    }
    std::vector<provisioning::Sighting> Listen(Clock::time_point wake) override {
        return m_sightings.Take(wake);
    }
    void Interrupt() override { m_sightings.Interrupt(); }

private:
    Endpoint& m_endpoint;
    SeveralDevicesSightings& m_sightings;
    const std::vector<SeveralTarget> m_targets;
};

struct SeveralDevicesRun::Current {
    Link link;
    SeveralRunReports reports;
    std::unique_ptr<provisioning::BackgroundRun> run;
};

SeveralDevicesRun::SeveralDevicesRun(Endpoint& endpoint, SeveralDevicesSightings& sightings,
                                     UiThread& uiThread, provisioning::RunSettings settings)
    : m_endpoint(endpoint),
      m_sightings(sightings),
      m_uiThread(uiThread),
      m_settings(settings),
      m_alive(std::make_shared<bool>(true)) {}

SeveralDevicesRun::~SeveralDevicesRun() {
    *m_alive = false;
    End();
}

void SeveralDevicesRun::Start(std::vector<SeveralTarget> targets,
                              std::vector<std::vector<std::size_t>> waitsFor,
                              SeveralRunReports reports) {
    End();
    std::vector<provisioning::ProvisioningStep> steps;
    for (const SeveralTarget& target : targets) {
        steps.push_back(target.step);
    }
    // Only what the devices announce from here on can show what they made of their requests.
    m_sightings.Keep();
    m_current.reset(new Current{Link(m_endpoint, m_sightings, std::move(targets)),
                                std::move(reports), nullptr});
    m_current->run = std::make_unique<provisioning::BackgroundRun>(
        std::move(steps), std::move(waitsFor), m_settings, m_current->link,
        [this, alive = m_alive] {
            m_uiThread.Post([this, alive] {
                if (*alive) {
                    TakeNews();
                }
            });
        });
}

void SeveralDevicesRun::Stop() {
    if (m_current) {
        m_current->run->Stop();
    }
}

void SeveralDevicesRun::TakeNews() {
    if (!m_current) {
        return;
    }
    provisioning::RunNews news = m_current->run->TakeNews();
    for (const auto& [step, result] : news.finished) {
        m_current->reports.finished(step, result);
    }
    if (news.over) {
        const std::function<void()> over = m_current->reports.over;
        End();
        over();
    }
}

void SeveralDevicesRun::End() {
    if (m_current) {
        m_current->run.reset();
        m_current.reset();
        m_sightings.Drop();
    }
}

}  // namespace kestrelink
