#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "net/config_sender.h"
#include "net/datagrams.h"
#include "provisioning/confirmation.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink {

// One device's request in a run of the dialog.
struct SeveralTarget {
    ConfigTarget device;
    IpSettings settings;
    provisioning::ProvisioningStep step;
};

// What the dialog's run is told, always on the user-interface thread.
struct SeveralRunReports {
    std::function<void(std::size_t target, const provisioning::StepResult& result)> finished;
    // Last, once every target has its result.
    std::function<void()> over;
};

// Runs the engine for the dialog away from the user-interface thread: paced requests, moves in
// their order, probe rounds until each device is confirmed or past its wait.
class SeveralDevicesSender {
public:
    SeveralDevicesSender() = default;
    virtual ~SeveralDevicesSender() = default;
    SeveralDevicesSender(const SeveralDevicesSender&) = delete;
    SeveralDevicesSender& operator=(const SeveralDevicesSender&) = delete;

    // Returns at once. waitsFor is free of cycles.
    virtual void Start(std::vector<SeveralTarget> targets,
                       std::vector<std::vector<std::size_t>> waitsFor,
                       SeveralRunReports reports) = 0;
    // Nothing more is sent: the targets not yet sent are reported SendFailed or Blocked, those
    // still pending Silent, at once; then the run is over.
    virtual void Stop() = 0;
};

}  // namespace kestrelink
