#pragma once

#include <iosfwd>

#include "cli/device_output.h"

namespace kestrelink::cli {

struct DoctorFindings;

// table: one line per check, the adapters as columns padded with spaces, then the obstacles or
//        "Nothing stands in the way."
// json: an object with port, receive_buffer, firewall, adapters and obstacles (see the manual).
void WriteDoctorFindings(std::ostream& out, OutputFormat format, const DoctorFindings& findings);

}  // namespace kestrelink::cli
