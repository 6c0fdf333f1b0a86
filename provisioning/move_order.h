#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "provisioning/confirmation.h"

namespace kestrelink::provisioning {

// Which steps must wait for others: a device that takes an address another planned device
// still holds would leave both unreachable until that one has moved off.
struct MoveOrder {
    // Per step, the steps whose devices hold the address it takes.
    std::vector<std::vector<std::size_t>> waitsFor;
    // Empty unless the moves form a cycle, which no order can run: its steps, each taking the
    // address of the one after it, the last the address of the first.
    std::vector<std::size_t> cycle;
};

MoveOrder OrderMoves(std::span<const ProvisioningStep> steps);

}  // namespace kestrelink::provisioning
