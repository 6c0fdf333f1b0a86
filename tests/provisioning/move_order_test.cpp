#include "provisioning/move_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink::provisioning {
namespace {

ProvisioningStep Move(const char* mac, const char* from, std::optional<std::string> to) {
    return {mac, {from, "n"}, std::move(to), std::nullopt};
}

using Waits = std::vector<std::vector<std::size_t>>;

TEST(MoveOrderTest, AStepWaitsForEveryPlannedHolderOfItsNewAddress) {
    // c takes b's address, b takes a's, a leases one; d stays where it is.
    const std::vector<ProvisioningStep> steps = {
        Move("a", "10.0.0.1", std::nullopt), Move("b", "10.0.0.2", "10.0.0.1"),
        Move("c", "10.0.0.3", "10.0.0.2"), Move("d", "10.0.0.4", "10.0.0.4")};
    const MoveOrder order = OrderMoves(steps);
    EXPECT_EQ(order.waitsFor, (Waits{{}, {0}, {1}, {}}));
    EXPECT_TRUE(order.cycle.empty());
}

TEST(MoveOrderTest, CyclesAreFoundWithEveryStepInThem) {
    const struct {
        const char* name;
        std::vector<ProvisioningStep> steps;
        std::vector<std::size_t> cycle;
    } cases[] = {
        {"Swap", {Move("a", "10.0.0.1", "10.0.0.2"), Move("b", "10.0.0.2", "10.0.0.1")}, {0, 1}},
        {"ThreeBehindAFreeMove",
         {Move("x", "10.0.0.9", "10.0.0.8"), Move("a", "10.0.0.1", "10.0.0.2"),
          Move("b", "10.0.0.2", "10.0.0.3"), Move("c", "10.0.0.3", "10.0.0.1")},
         {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OrderMoves(c.steps).cycle, c.cycle);
    }
}

}  // namespace
}  // namespace kestrelink::provisioning
