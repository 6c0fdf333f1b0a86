#pragma once

#include <memory>

#include "behaviour/several_devices_sender.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink {

class Endpoint;
class SeveralDevicesSightings;
class UiThread;

namespace provisioning {
class BackgroundRun;
}

// The dialog's runs on a thread of their own, through the window's endpoint, with the
// announcements its listener hears; their news is taken on the user-interface thread.
class SeveralDevicesRun final : public SeveralDevicesSender {
public:
    // endpoint, sightings and uiThread outlive this object.
    SeveralDevicesRun(Endpoint& endpoint, SeveralDevicesSightings& sightings, UiThread& uiThread,
                      provisioning::RunSettings settings);
    // Stops a run still going and waits for its thread; news not yet taken is dropped.
    ~SeveralDevicesRun() override;

    void Start(std::vector<SeveralTarget> targets, std::vector<std::vector<std::size_t>> waitsFor,
               SeveralRunReports reports) override;
    void Stop() override;

private:
    class Link;
    struct Current;

    void TakeNews();
    void End();

    Endpoint& m_endpoint;
    SeveralDevicesSightings& m_sightings;
    UiThread& m_uiThread;
    provisioning::RunSettings m_settings;
    std::unique_ptr<Current> m_current;
    // Cleared when this object goes, so that a posted call for news does nothing.
    std::shared_ptr<bool> m_alive;
};

}  // namespace kestrelink
