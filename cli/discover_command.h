#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/device_output.h"
#include "cli/device_session.h"
#include "cli/discover_watch.h"
#include "cli/exit_status.h"

namespace kestrelink::cli {

struct DiscoverOptions {
    std::chrono::milliseconds wait = kDefaultWait;
    OutputFormat format = OutputFormat::Table;
    std::vector<std::string> interfaces;  // none: every interface
    int expect = 0;                       // fewer answers than this is a failure
    std::string compare;                  // an earlier list to compare with; empty: none
    bool failOnChange = false;            // with compare: any difference is a failure
    bool watch = false;
    WatchOptions watchOptions;  // its format is format's
};

// Probes, listens for the whole wait, then lists every device heard once, set against the
// earlier list when there is one, which is read before anything is sent. With watch, probes
// round after round until stopped and reports each event as it happens.
ExitStatus RunDiscover(const DiscoverOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
