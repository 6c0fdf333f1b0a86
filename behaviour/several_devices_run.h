#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "behaviour/several_devices_sender.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink {

class Endpoint;
class SeveralDevicesSightings;
class UiThread;

// The dialog's runs on a thread of their own, through the window's endpoint, with the
// announcements its listener hears; reports are posted to the user-interface thread.
class SeveralDevicesRun final : public SeveralDevicesSender {
public:
    // endpoint, sightings and uiThread outlive this object.
    SeveralDevicesRun(Endpoint& endpoint, SeveralDevicesSightings& sightings, UiThread& uiThread,
                      provisioning::RunSettings settings);
    // Stops a run still going and waits for its thread; reports not yet run are dropped.
    ~SeveralDevicesRun() override;

    void Start(std::vector<SeveralTarget> targets, std::vector<std::vector<std::size_t>> waitsFor,
               SeveralRunReports reports) override;
    void Stop() override;

private:
    Endpoint& m_endpoint;
    SeveralDevicesSightings& m_sightings;
    UiThread& m_uiThread;
    provisioning::RunSettings m_settings;
    std::shared_ptr<std::atomic<bool>> m_stopped;
    // Cleared when this object goes, so that reports posted before do nothing.
    std::shared_ptr<std::atomic<bool>> m_alive;
    std::thread m_thread;
};

}  // namespace kestrelink
