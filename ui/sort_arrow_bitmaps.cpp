#include "ui/sort_arrow_bitmaps.h"

#include <QColor>
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

struct Colours {
    QColor light;
    QColor dark;
    QColor white;
};

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

QImage Paint(int bitmapId, const Colours& colours) {
    const Pattern* pattern = PatternOf(bitmapId);
    if (pattern == nullptr) {
        return {};
    }
    QImage image(kSortArrowSize, kSortArrowSize, QImage::Format_RGB32);
    for (int y = 0; y < kSortArrowSize; ++y) {
        for (int x = 0; x < kSortArrowSize; ++x) {
            const char pixel = (*pattern)[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            const QColor& colour =
                pixel == 'D' ? colours.dark : (pixel == 'W' ? colours.white : colours.light);
            image.setPixelColor(x, y, colour);
        }
    }
    return image;
}

}  // namespace

QImage SortArrowReference(int bitmapId) {
    return Paint(bitmapId, {QColor(192, 192, 192), QColor(128, 128, 128), QColor(255, 255, 255)});
}

QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette) {
    const QImage image = Paint(bitmapId, {palette.color(QPalette::Button),
                                          palette.color(QPalette::Dark), QColor(255, 255, 255)});
    return QPixmap::fromImage(image);
}

}  // namespace kestrelink
