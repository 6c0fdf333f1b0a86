#pragma once

#include <chrono>
#include <iosfwd>

#include "cli/device_output.h"
#include "cli/device_session.h"
#include "cli/exit_status.h"

namespace kestrelink::cli {

struct DoctorOptions {
    std::chrono::milliseconds wait = kDefaultWait;
    OutputFormat format = OutputFormat::Table;  // table or json
};

// Checks what stands between this machine and the devices, with one probe round within the
// wait: success when nothing does.
ExitStatus RunDoctor(const DoctorOptions& options, std::ostream& out);

}  // namespace kestrelink::cli
