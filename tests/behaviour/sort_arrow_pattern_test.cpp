#include "behaviour/sort_arrow_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrelink;

namespace {

struct Arrow {
    const char* name;
    int bitmap;
    int baseRow;  // the base is at the bottom of an arrow that points up, at the top of one down
    int apexRow;
    ArrowShade baseShade;  // lit from the top left: a bottom edge is lit, a top edge in shadow
};

class SortArrowPatternTest : public ::testing::TestWithParam<Arrow> {};

// The columns of a row that are not ground.
std::vector<int> Outline(const ArrowPattern& pattern, int row) {
    std::vector<int> columns;
    for (int x = 0; x < kSortArrowSize; ++x) {
        if (pattern[std::size_t(row)][std::size_t(x)] != ArrowShade::Ground) {
            columns.push_back(x);
        }
    }
    return columns;
}

TEST_P(SortArrowPatternTest, HollowCentredTriangleSevenRowsTallOnAnEightPixelBase) {
    const Arrow& arrow = GetParam();
    const std::optional<ArrowPattern> pattern = SortArrowPattern(arrow.bitmap);
    ASSERT_TRUE(pattern);
    const int step = arrow.apexRow > arrow.baseRow ? 1 : -1;
    for (int row = 0; row < kSortArrowSize; ++row) {
        const std::vector<int> outline = Outline(*pattern, row);
        SCOPED_TRACE("row " + std::to_string(row));
        if (row < 4 || row > 10) {
            EXPECT_TRUE(outline.empty());
            continue;
        }
        if (row == arrow.baseRow) {
            EXPECT_EQ(outline, (std::vector{3, 4, 5, 6, 7, 8, 9, 10}));
            for (const int x : outline) {
                EXPECT_EQ((*pattern)[std::size_t(row)][std::size_t(x)], arrow.baseShade);
            }
            continue;
        }
        // Two slopes narrowing by one pixel every second row towards the apex, nothing between.
        const int inset = 4 + ((row - arrow.baseRow) * step - 1) / 2;
        ASSERT_EQ(outline, (std::vector{inset, kSortArrowSize - 1 - inset}));
        EXPECT_EQ((*pattern)[std::size_t(row)][std::size_t(inset)], ArrowShade::Shadow);
        EXPECT_EQ((*pattern)[std::size_t(row)][std::size_t(kSortArrowSize - 1 - inset)],
                  ArrowShade::Light);
    }
    EXPECT_EQ(Outline(*pattern, arrow.apexRow), (std::vector{6, 7}));
}

INSTANTIATE_TEST_SUITE_P(Arrows, SortArrowPatternTest,
                         ::testing::Values(Arrow{"Up133", 133, 10, 4, ArrowShade::Light},
                                           Arrow{"Down134", 134, 4, 10, ArrowShade::Shadow}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SortArrowPatternTest, OnlyTheTwoArrowsHaveAPattern) {
    EXPECT_FALSE(SortArrowPattern(101));
    EXPECT_FALSE(SortArrowPattern(135));
}

}  // namespace
