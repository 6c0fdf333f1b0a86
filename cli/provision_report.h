#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "cli/device_session.h"
#include "cli/discovered_device.h"
#include "cli/exit_status.h"
#include "net/datagrams.h"
#include "provisioning/confirmation.h"
#include "provisioning/result_words.h"

// The command-line program's side of a provisioning run: its session as the run's link to the
// devices, and the run's results as lines on the terminal.
namespace kestrelink::cli {

class ProgressLine;

struct ProvisionOptions {
    bool verify = false;
    std::chrono::milliseconds wait = kDefaultWait;  // each device's time to confirm
    unsigned resends = 2;
    std::chrono::milliseconds resendAfter{3000};
    std::string recordPath;  // empty: no record
};

// A device together with the settings it is to be sent.
struct ProvisionTarget {
    DiscoveredDevice device;
    IpSettings settings;
};

// What became of the requests of one run.
struct ProvisionOutcome {
    provisioning::RunTally tally;
    std::vector<provisioning::StepResult> results;  // in the targets' order
    std::vector<std::string> reasons;               // the words of each result line
};

// 1 for any failure; under verify 3 for a request that could not be confirmed; else 0.
ExitStatus StatusOf(const provisioning::RunTally& tally);

// "32bits request to MAC: ip=... mask=... gateway=... dns=... name=...": what goes on the wire,
// the password aside.
std::string DescribeRequest(const DiscoveredDevice& device, const IpSettings& settings);

// Sends each target its request once, paced, a target after those it waits for; with verify,
// probes in rounds until each device answers with its new address and name, or its own wait
// is over. One line per device, on out when it did what was asked, on err when not; each set
// response heard meanwhile is a warning on err.
ProvisionOutcome ProvisionAll(DeviceSession& session, std::span<const ProvisionTarget> targets,
                              std::vector<std::vector<std::size_t>> waitsFor,
                              const ProvisionOptions& options, ProgressLine& progress,
                              std::ostream& out, std::ostream& err);

// The as-built record of a run, written whole to options.recordPath if one is given; false once
// the failure is on err.
bool WriteRecord(std::span<const ProvisionTarget> targets, const ProvisionOutcome& outcome,
                 const ProvisionOptions& options, std::ostream& err);

}  // namespace kestrelink::cli
