#include "faces/win32/dpi_scaling.h"

#include <algorithm>
#include <cstdint>

namespace kestrelink::win32 {
namespace {

// number * numerator / denominator, rounded half away from zero as the system's MulDiv does.
int MultiplyDivide(int number, int numerator, int denominator) {
    if (denominator <= 0) {
        return number;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

int ScaledForDpi(int length96, int dpi) {
    return MultiplyDivide(length96, dpi, kBaseDpi);
}

int UnscaledFromDpi(int length, int dpi) {
    return MultiplyDivide(length, kBaseDpi, dpi);
}

int FontHeightForDpi(int points, int dpi) {
    return -MultiplyDivide(points, dpi, 72);
}

DialogBase DialogBaseOf(int widthOf52Letters, int fontHeight) {
    return {(widthOf52Letters / 26 + 1) / 2, fontHeight};
}

PixelRect RescaledRect(const PixelRect& rect, DialogBase from, DialogBase to) {
    const int left = MultiplyDivide(rect.left, to.x, from.x);
    const int top = MultiplyDivide(rect.top, to.y, from.y);
    const int right = MultiplyDivide(rect.left + rect.width, to.x, from.x);
    const int bottom = MultiplyDivide(rect.top + rect.height, to.y, from.y);
    return {left, top, right - left, bottom - top};
}

PixelRect AnchoredRect(const PixelRect& atTemplate, AnchorEdges edges, int growX, int growY) {
    PixelRect rect = atTemplate;
    if (edges.right) {
        (edges.left ? rect.width : rect.left) += growX;
    }
    if (edges.bottom) {
        (edges.top ? rect.height : rect.top) += growY;
    }
    return rect;
}

std::vector<GlyphRow> SortArrowGlyph(int boxSize, bool pointsUp) {
    const int halfWidth = std::max(1, (boxSize * 2 + 3) / 7);
    const int height = halfWidth;
    const int top = (boxSize - height) / 2;
    const int centre = boxSize / 2;
    std::vector<GlyphRow> rows;
    for (int row = 0; row < height; ++row) {
        const int reach = row + 1;
        rows.push_back(
            {pointsUp ? top + row : top + height - 1 - row, centre - reach, centre + reach});
    }
    if (!pointsUp) {
        std::reverse(rows.begin(), rows.end());
    }
    return rows;
}

}  // namespace kestrelink::win32
