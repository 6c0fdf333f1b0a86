#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/device_output.h"
#include "cli/device_session.h"
#include "cli/exit_status.h"

namespace kestrelink::cli {

struct DiscoverOptions {
    std::chrono::milliseconds wait = kDefaultWait;
    OutputFormat format = OutputFormat::Table;
    std::vector<std::string> interfaces;  // none: every interface
    int expect = 0;                       // fewer answers than this is a failure
};

// Probes, listens for the whole wait, then lists every device heard once.
ExitStatus RunDiscover(const DiscoverOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
