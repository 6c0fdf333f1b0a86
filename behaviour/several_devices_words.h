#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "provisioning/confirmation.h"
#include "provisioning/provisioning_run.h"

namespace kestrelink {

// A checked row's Status from Send until its outcome is known.
inline constexpr std::string_view kWaitingStatus = "waiting";
// A row that Stop kept from being sent.
inline constexpr std::string_view kStoppedStatus = "not sent: stopped";
// A row sent before Stop whose device had not yet shown its new settings.
inline constexpr std::string_view kStoppedPendingStatus = "sent, not confirmed: stopped";

// A row's Status once its outcome is known, in the command-line program's words. steps: the
// run's, in its order.
std::string ResultWords(std::span<const provisioning::ProvisioningStep> steps, std::size_t step,
                        const provisioning::StepResult& result);

}  // namespace kestrelink
