#include "ui/sort_arrow_bitmaps.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <array>
#include <string_view>

namespace kestrelink {
namespace {

using Pattern = std::array<std::string_view, kSortArrowSize>;

// '.' light grey, 'D' dark grey, 'W' white. Lit from the top left: the left slope is in shadow.
// clang-format off
constexpr Pattern kUpPattern = {
    "..............",
    "..............",
    "..............",
    "..............",
    "......DW......",
    "......DW......",
    ".....D..W.....",
    ".....D..W.....",
    "....D....W....",
    "....D....W....",
    "...WWWWWWWW...",
    "..............",
    "..............",
    "..............",
};

constexpr Pattern kDownPattern = {
    "..............",
    "..............",
    "..............",
    "..............",
    "...DDDDDDDD...",
    "....D....W....",
    "....D....W....",
    ".....D..W.....",
    ".....D..W.....",
    "......DW......",
    "......DW......",
    "..............",
    "..............",
    "..............",
};
// clang-format on

const Pattern* PatternOf(int bitmapId) {
    switch (bitmapId) {
        case kSortArrowUpBitmap:
            return &kUpPattern;
        case kSortArrowDownBitmap:
            return &kDownPattern;
        default:
            return nullptr;
    }
}

}  // namespace

QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette) {
    const Pattern* pattern = PatternOf(bitmapId);
    if (pattern == nullptr) {
        return {};
    }
    const QColor light = palette.color(QPalette::Button);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor white(255, 255, 255);
    QImage image(kSortArrowSize, kSortArrowSize, QImage::Format_RGB32);
    for (int y = 0; y < kSortArrowSize; ++y) {
        for (int x = 0; x < kSortArrowSize; ++x) {
            const char pixel = (*pattern)[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            image.setPixelColor(x, y, pixel == 'D' ? dark : (pixel == 'W' ? white : light));
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace kestrelink
