#include "provisioning/workable_address.h"

#include <bit>
#include <string_view>

#include "net/datagrams.h"
#include "net/text_forms.h"
#include "provisioning/device_request.h"

namespace kestrelink::provisioning {
namespace {

// Why no host may hold address, whatever its network; empty when one may.
std::string_view ReservedKind(std::uint32_t address) {
    if (address == 0) {
        return "is no address a device can be reached at";
    }
    if (address == 0xFFFFFFFFu) {
        return "is the limited broadcast address";
    }
    if (address >> 24 == 127) {
        return "is a loopback address";
    }
    if (address >> 28 == 0xE) {
        return "is a multicast address";
    }
    return {};
}

}  // namespace

std::vector<std::string> UnworkableAddresses(const IpSettings& settings,
                                             const FieldLabels& labels) {
    std::vector<std::string> problems;
    if (settings.useDhcp) {
        return problems;
    }
    const auto problem = [&](std::string_view label, std::uint32_t value, std::string_view why) {
        problems.push_back(std::string(label) + " " + std::string(FormatDottedQuad(value).View()) +
                           " " + std::string(why) + std::string(kForceHint));
    };
    const std::uint32_t ip = settings.ipAddress;
    const std::uint32_t mask = settings.subnetMask;
    const std::uint32_t gateway = settings.gateway;
    const int prefixLength = std::countl_one(mask);
    const std::string subnet =
        std::string(FormatDottedQuad(ip & mask).View()) + "/" + std::to_string(prefixLength);

    const std::string_view reserved = ReservedKind(ip);
    if (!reserved.empty()) {
        problem(labels.ip, ip, reserved);
    }
    // A /31 or /32 leaves the device no network to share with anyone; the other checks would
    // only repeat that.
    if (prefixLength > 30) {
        problem(labels.mask, mask, "leaves no address for any other host");
        return problems;
    }
    if (!reserved.empty()) {
        return problems;
    }
    if (ip == (ip & mask)) {
        problem(labels.ip, ip, "is the network address of " + subnet);
    } else if (ip == (ip | ~mask)) {
        problem(labels.ip, ip, "is the broadcast address of " + subnet);
    }
    if (gateway == ip) {
        problem(labels.gateway, gateway, "is the device's own " + std::string(labels.ip));
    } else if (gateway != 0 && (gateway & mask) != (ip & mask)) {
        problem(labels.gateway, gateway, "lies outside " + subnet);
    }
    return problems;
}

}  // namespace kestrelink::provisioning
