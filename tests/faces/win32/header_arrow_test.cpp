#include "faces/win32/header_arrow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace kestrelink::win32 {
namespace {

struct ArrowCase {
    int dpi;
    bool pointsUp;
    int size;
    POINT ink;     // a pixel of the triangle
    POINT ground;  // a pixel beside it
};

void PrintTo(const ArrowCase& c, std::ostream* os) {
    *os << c.dpi << (c.pointsUp ? " up" : " down");
}

DWORD AsPixel(COLORREF colour) {
    return static_cast<DWORD>(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
}

class HeaderArrowTest : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(HeaderArrowTest, IsDrawnAtTheMonitorsSizeInTheButtonTextOnTheButtonFace) {
    const ArrowCase& c = GetParam();
    const Bitmap arrow = DrawHeaderArrow(c.dpi, c.pointsUp);
    ASSERT_TRUE(arrow);
    BITMAP shape{};
    ASSERT_NE(GetObjectW(arrow.Get(), sizeof(shape), &shape), 0);
    EXPECT_EQ(shape.bmWidth, c.size);
    EXPECT_EQ(shape.bmHeight, c.size);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = c.size;
    info.bmiHeader.biHeight = -c.size;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(c.size * c.size));
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, arrow.Get(), 0, static_cast<UINT>(c.size), pixels.data(),
                               &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(rows, c.size);
    EXPECT_EQ(pixels[c.ink.y * c.size + c.ink.x] & 0xFFFFFFu, AsPixel(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_EQ(pixels[c.ground.y * c.size + c.ground.x] & 0xFFFFFFu,
              AsPixel(GetSysColor(COLOR_BTNFACE)));
}

INSTANTIATE_TEST_SUITE_P(Arrows, HeaderArrowTest,
                         ::testing::Values(ArrowCase{96, true, 14, {7, 5}, {7, 4}},
                                           ArrowCase{96, false, 14, {7, 8}, {7, 9}},
                                           ArrowCase{144, true, 21, {10, 7}, {10, 6}}));

}  // namespace
}  // namespace kestrelink::win32
