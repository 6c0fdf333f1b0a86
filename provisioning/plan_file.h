#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "provisioning/device_request.h"

namespace kestrelink::provisioning {

// A plan's columns by the names its header gives them, and how its problems name them.
inline constexpr FieldLabels kPlanColumns{"mac", "ip",   "mask",     "gateway",
                                          "dns", "name", "password", "dhcp"};

struct PlanEntry {
    std::size_t line = 0;
    DeviceRequest request;
};

struct Plan {
    std::vector<PlanEntry> entries;
    std::vector<std::string> problems;  // "FILE:LINE: what is wrong", one line each
};

// A CSV file with the header mac,ip,mask,gateway,dns,name,password,dhcp (in any order) and one
// device per record. An empty name keeps the device's given name; dhcp is yes/no, true/false or
// 1/0 in any case, or empty for no. Every cell is checked (addresses under the policy given), and
// no two devices may share a MAC or a static IP.
Plan ReadPlan(std::string_view text, std::string_view fileName,
              AddressPolicy addresses = AddressPolicy::RefuseUnworkable);

// An entry whose MAC or static IP an entry before it has already, and which line that is on:
// "ip 10.0.0.5 is planned on line 2 already".
struct SharedEntry {
    std::size_t entry = 0;  // index into the entries
    std::string text;
};
std::vector<SharedEntry> FindShared(std::span<const PlanEntry> entries);

// A plan that ReadPlan reads back: the header, then one record per device, the passwords left
// out so that a saved plan gives none away.
std::string FormatPlan(std::span<const RequestFields> devices);

}  // namespace kestrelink::provisioning
