#include "net/firewall_rules.h"

namespace kestrelink {

std::string ProgramBesideThisOne(const std::string&) {
    return {};
}

std::optional<FirewallState> ReadFirewall() {
    return std::nullopt;
}

}  // namespace kestrelink
