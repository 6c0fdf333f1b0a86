#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "provisioning/confirmation.h"
#include "provisioning/listed_device.h"
#include "provisioning/plan_file.h"

namespace kestrelink {
struct IpSettings;
}

namespace kestrelink::provisioning {

// What stops one plan entry from being sent, found against the devices listed.
struct EntryProblem {
    enum class Kind {
        NotListed,   // no listed device has its MAC; it may yet answer
        Unsuitable,  // its request asks for what the device's family cannot take
        AddressHeld  // a listed device that the plan leaves out announces its new address
    };
    std::size_t entry = 0;  // index into the entries
    Kind kind = Kind::NotListed;
    std::string text;  // empty for NotListed, whose words depend on how the devices were found
};

// Each entry against the devices, in the entries' order. Another device on the new address would
// make both unreachable; a device in the plan may take the address of another once that one has
// left it.
std::vector<EntryProblem> CheckAgainstListed(std::span<const PlanEntry> entries,
                                             std::span<const ListedDevice> devices,
                                             const FieldLabels& labels);

// The request reduced to what the device's announcements can show of it.
ProvisioningStep StepOf(const ListedDevice& device, const IpSettings& settings);

// Follows the entries' line numbers of a cycle that OrderMoves found.
inline constexpr std::string_view kCycleWords =
    "move their devices in a cycle, each onto the address the next holds; send one to a free "
    "address first";

}  // namespace kestrelink::provisioning
