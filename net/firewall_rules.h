#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrelink {

// One rule of the system's firewall, as far as it decides whether a program hears devices.
struct FirewallRule {
    bool enabled = false;
    bool inbound = false;
    bool allow = false;
    int protocol = 0;            // IANA number; 256 stands for any
    std::string application;     // full path; empty for every program
    std::string localPorts;      // "*", "54320", "54000-55000" or a comma list of them
    std::uint32_t profiles = 0;  // bit set of the profiles it applies to
};

// What the firewall holds for the profiles in force.
struct FirewallState {
    std::uint32_t currentProfiles = 0;  // bit set of the profiles in force
    // Per profile bit: the firewall is on, and what it does with inbound traffic no rule names.
    std::uint32_t enabledProfiles = 0;
    std::uint32_t blockByDefaultProfiles = 0;
    std::vector<FirewallRule> rules;
};

// Whether UDP to port reaches program in every profile in force: a block rule that names it wins
// over any allow rule, as the firewall itself decides.
bool FirewallLetsIn(const FirewallState& state, const std::string& program, std::uint16_t port);

// The full path of the program of that file name in this program's own folder; empty where the
// firewall is not asked (Linux).
std::string ProgramBesideThisOne(const std::string& fileName);

// The firewall as the system tells it; nullopt where there is none to ask (Linux, where ufw and
// firewalld are a matter for the desktop) or it cannot be read.
std::optional<FirewallState> ReadFirewall();

}  // namespace kestrelink
