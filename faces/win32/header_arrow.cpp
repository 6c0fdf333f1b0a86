#include "faces/win32/header_arrow.h"

#include <cstdint>

#include "faces/win32/dpi_scaling.h"

namespace kestrelink::win32 {
namespace {

// As large as the header's text at 96 dots per inch.
constexpr int kArrowBox96 = 14;

std::uint32_t DibPixel(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

}  // namespace

Bitmap DrawHeaderArrow(int dpi, bool pointsUp) {
    const int size = ScaledForDpi(kArrowBox96, dpi);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return {};
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::uint32_t ground = DibPixel(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t ink = DibPixel(GetSysColor(COLOR_BTNTEXT));
    for (int index = 0; index < size * size; ++index) {
        pixels[index] = ground;
    }
    for (const GlyphRow& row : SortArrowGlyph(size, pointsUp)) {
        for (int x = row.left; x < row.right; ++x) {
            pixels[row.y * size + x] = ink;
        }
    }
    GdiFlush();
    return bitmap;
}

}  // namespace kestrelink::win32
