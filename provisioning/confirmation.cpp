#include "provisioning/confirmation.h"

#include <string_view>

namespace kestrelink::provisioning {
namespace {

constexpr std::string_view kNoAddress = "0.0.0.0";

}  // namespace

bool Confirms(const ProvisioningStep& step, const Appearance& seen) {
    if (step.newName && seen.givenName != *step.newName) {
        return false;
    }
    if (step.newIp) {
        return seen.ip == *step.newIp && seen != step.before;
    }
    return seen.ip != step.before.ip && seen.ip != kNoAddress;
}

bool ShowsNoChange(const ProvisioningStep& step) {
    return step.newIp && *step.newIp == step.before.ip &&
           (!step.newName || *step.newName == step.before.givenName);
}

}  // namespace kestrelink::provisioning
