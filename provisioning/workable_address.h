#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrelink {
struct IpSettings;
}

namespace kestrelink::provisioning {

struct FieldLabels;

// Whether settings that no device could work with are refused, or sent as given because the
// user knows better (--force).
enum class AddressPolicy { RefuseUnworkable, SendAsGiven };

// Ends each refusal that --force would let through.
inline constexpr std::string_view kForceHint = "; --force sends it anyway";

// What would cut a device off, or make it answer for others: an address that no host may hold
// (0.0.0.0, 255.255.255.255, loopback, multicast) or that is its subnet's network or broadcast
// address or the gateway; a /31 or /32 mask; a gateway outside the subnet (0.0.0.0 stands for
// none). One line per problem, naming each field by labels; none for DHCP.
std::vector<std::string> UnworkableAddresses(const IpSettings& settings, const FieldLabels& labels);

}  // namespace kestrelink::provisioning
