#pragma once

#include <iosfwd>

#include "cli/device_request.h"
#include "cli/exit_status.h"
#include "cli/provision_report.h"

namespace kestrelink::cli {

struct ConfigureOptions {
    RequestFields fields;
    AddressPolicy addresses = AddressPolicy::RefuseUnworkable;
    ProvisionOptions provision;  // its wait also bounds the discovery of the device
};

// Checks the fields, discovers the device to learn its family, checks what needs the family,
// then sends one request and, if asked, verifies it.
ExitStatus RunConfigure(const ConfigureOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
