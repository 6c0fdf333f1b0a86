#pragma once

#include <iosfwd>
#include <string>

#include "cli/exit_status.h"
#include "cli/provision_report.h"
#include "provisioning/workable_address.h"

namespace kestrelink::cli {

struct PlanOptions {
    std::string path;
    bool dryRun = false;
    provisioning::AddressPolicy addresses = provisioning::AddressPolicy::RefuseUnworkable;
    ProvisionOptions provision;  // its wait also bounds the discovery before the plan runs
};

// Checks the whole plan, against the devices that answer as well, and the order its moves can
// run in, before anything is sent; then provisions every device, one line each, and sums up.
ExitStatus RunPlan(const PlanOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
