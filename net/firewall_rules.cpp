#include "net/firewall_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace kestrelink {
namespace {

constexpr int kUdp = 17;
constexpr int kAnyProtocol = 256;

// Windows paths compare without regard to case.
bool SamePath(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<unsigned> PortNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool PortListed(std::string_view list, std::uint16_t port) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view item = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        if (item == "*") {
            return true;
        }
        const std::size_t dash = item.find('-');
        const auto low = PortNumber(item.substr(0, dash));
        const auto high = dash == std::string_view::npos ? low : PortNumber(item.substr(dash + 1));
        if (low && high && *low <= port && port <= *high) {
            return true;
        }
    }
    return false;
}

bool Names(const FirewallRule& rule, const std::string& program, std::uint16_t port,
           std::uint32_t profile) {
    return rule.enabled && rule.inbound && (rule.profiles & profile) != 0 &&
           (rule.protocol == kUdp || rule.protocol == kAnyProtocol) &&
           (rule.application.empty() || SamePath(rule.application, program)) &&
           (rule.localPorts.empty() || PortListed(rule.localPorts, port));
}

}  // namespace

bool FirewallLetsIn(const FirewallState& state, const std::string& program, std::uint16_t port) {
    for (std::uint32_t profile = 1; profile != 0; profile <<= 1) {
        if ((state.currentProfiles & profile) == 0 || (state.enabledProfiles & profile) == 0) {
            continue;
        }
        bool allowed = (state.blockByDefaultProfiles & profile) == 0;
        for (const FirewallRule& rule : state.rules) {
            if (!Names(rule, program, port, profile)) {
                continue;
            }
            if (!rule.allow) {
                return false;
            }
            allowed = true;
        }
        if (!allowed) {
            return false;
        }
    }
    return true;
}

}  // namespace kestrelink
