#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>

#include "cli/device_output.h"
#include "cli/exit_status.h"
#include "net/watch_rounds.h"

namespace kestrelink::cli {

class DiscoveryCollector;

struct WatchOptions {
    std::chrono::milliseconds interval = kWatchInterval;
    int missingAfter = kWatchMissingAfter;
    OutputFormat format = OutputFormat::Table;
};

// Rounds of one probe and what answers until the next, the first probe already sent and heard
// already keeping news. Each event is written to out as it happens, one flushed line each; a
// device is marked a conflict while another device not vanished announces its IP. Ends between
// two lines once stopRequested says so: Success, or Failure as soon as out takes no more.
ExitStatus WatchSegment(DiscoveryCollector& heard, const std::function<void()>& probe,
                        const WatchOptions& options, const std::function<bool()>& stopRequested,
                        std::ostream& out);

}  // namespace kestrelink::cli
