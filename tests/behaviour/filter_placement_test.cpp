#include "behaviour/filter_placement.h"

#include <gtest/gtest.h>

#include <string>

using namespace kestrelink;

namespace {

struct PlacementCase {
    const char* name;
    ControlRect forceIe;
    ControlRect filter;
    ControlRect deviceCount;
    FilterPlaces expected;
};

class FilterPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(FilterPlacementTest, FilterAndCountMoveLeftTogetherIntoTheCheckBoxsPlaceAndTheCountWidens) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(FilterInForceIePlace(c.forceIe, c.filter, c.deviceCount), c.expected);
}

// Heights and tops stay: the check box is shorter than the filter and sits higher.
INSTANTIATE_TEST_SUITE_P(Layouts, FilterPlacementTest,
                         ::testing::Values(PlacementCase{"Template102",
                                                         {7, 166, 61, 8},
                                                         {75, 169, 90, 14},
                                                         {169, 172, 85, 8},
                                                         {{7, 169, 90, 14}, {101, 172, 153, 8}}},
                                           PlacementCase{
                                               "DrawnAtOneAndAHalf",
                                               {11, 270, 92, 13},
                                               {113, 274, 135, 23},
                                               {254, 279, 128, 13},
                                               {{11, 274, 135, 23}, {152, 279, 230, 13}}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
