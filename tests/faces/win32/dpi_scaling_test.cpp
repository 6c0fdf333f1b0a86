#include "faces/win32/dpi_scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink::win32 {
namespace {

struct LengthCase {
    int length;
    int dpi;
    int scaled;    // ScaledForDpi(length, dpi)
    int unscaled;  // UnscaledFromDpi(length, dpi)
};

class DpiLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(DpiLengthTest, RoundsToTheNearestPixel) {
    const LengthCase& c = GetParam();
    EXPECT_EQ(ScaledForDpi(c.length, c.dpi), c.scaled);
    EXPECT_EQ(UnscaledFromDpi(c.length, c.dpi), c.unscaled);
}

INSTANTIATE_TEST_SUITE_P(Lengths, DpiLengthTest,
                         ::testing::Values(LengthCase{100, 96, 100, 100},
                                           LengthCase{100, 144, 150, 67},
                                           LengthCase{75, 120, 94, 60}, LengthCase{1, 144, 2, 1},
                                           LengthCase{150, 144, 225, 100},
                                           LengthCase{64, 192, 128, 32}));

TEST(DpiScalingTest, AFontOfEightPointsIsElevenPixelsHighAt96AndSixteenAt144) {
    EXPECT_EQ(FontHeightForDpi(8, 96), -11);
    EXPECT_EQ(FontHeightForDpi(8, 120), -13);
    EXPECT_EQ(FontHeightForDpi(8, 144), -16);
    EXPECT_EQ(FontHeightForDpi(9, 96), -12);
}

TEST(DpiScalingTest, TheBaseIsTheRoundedMeanLetterWidthAndTheFontsHeight) {
    EXPECT_EQ(DialogBaseOf(312, 13).x, 6);  // 6.0
    EXPECT_EQ(DialogBaseOf(337, 13).x, 6);  // 6.48
    EXPECT_EQ(DialogBaseOf(344, 13).x, 7);  // 6.62
    EXPECT_EQ(DialogBaseOf(312, 13).y, 13);
}

TEST(DpiScalingTest, ARectangleIsLaidOutAnewEdgeByEdge) {
    const PixelRect rect = RescaledRect({14, 12, 700, 283}, {6, 13}, {9, 20});

    EXPECT_EQ(rect.left, 21);
    EXPECT_EQ(rect.top, 18);      // 18.46
    EXPECT_EQ(rect.width, 1050);  // 1071 - 21
    EXPECT_EQ(rect.height, 436);  // 453.8 rounds to 454, less 18
}

struct AnchorCase {
    const char* name;
    AnchorEdges edges;
    PixelRect placed;  // from {10, 20, 100, 50}, grown by 30 across and 40 down
};

class AnchoredRectTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(AnchoredRectTest, FollowsTheAnchoredEdges) {
    const PixelRect rect = AnchoredRect({10, 20, 100, 50}, GetParam().edges, 30, 40);

    EXPECT_EQ(rect.left, GetParam().placed.left);
    EXPECT_EQ(rect.top, GetParam().placed.top);
    EXPECT_EQ(rect.width, GetParam().placed.width);
    EXPECT_EQ(rect.height, GetParam().placed.height);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, AnchoredRectTest,
    ::testing::Values(AnchorCase{"AllFour", {true, true, true, true}, {10, 20, 130, 90}},
                      AnchorCase{"RightBottom", {false, false, true, true}, {40, 60, 100, 50}},
                      AnchorCase{"LeftRightBottom", {true, false, true, true}, {10, 60, 130, 50}},
                      AnchorCase{"LeftTop", {true, true, false, false}, {10, 20, 100, 50}}),
    [](const auto& info) { return info.param.name; });

struct GlyphCase {
    const char* name;
    int boxSize;
    bool pointsUp;
    std::vector<std::vector<int>> rows;  // y, left, right, top row first
};

class SortArrowGlyphTest : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(SortArrowGlyphTest, IsACentredTriangle) {
    std::vector<std::vector<int>> rows;
    for (const GlyphRow& row : SortArrowGlyph(GetParam().boxSize, GetParam().pointsUp)) {
        rows.push_back({row.y, row.left, row.right});
    }
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, SortArrowGlyphTest,
    ::testing::Values(
        GlyphCase{"Up96", 14, true, {{5, 6, 8}, {6, 5, 9}, {7, 4, 10}, {8, 3, 11}}},
        GlyphCase{"Down96", 14, false, {{5, 3, 11}, {6, 4, 10}, {7, 5, 9}, {8, 6, 8}}},
        GlyphCase{"Up144",
                  21,
                  true,
                  {{7, 9, 11}, {8, 8, 12}, {9, 7, 13}, {10, 6, 14}, {11, 5, 15}, {12, 4, 16}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::win32
