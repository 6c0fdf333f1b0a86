#pragma once

#include <iosfwd>

#include "cli/exit_status.h"
#include "cli/provision_report.h"
#include "provisioning/device_request.h"

namespace kestrelink::cli {

struct ConfigureOptions {
    provisioning::RequestFields fields;
    provisioning::AddressPolicy addresses = provisioning::AddressPolicy::RefuseUnworkable;
    ProvisionOptions provision;  // its wait also bounds the discovery of the device
};

// Checks the fields, discovers the device to learn its family, checks what needs the family,
// then sends one request and, if asked, verifies it.
ExitStatus RunConfigure(const ConfigureOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
