#include "faces/qt/sort_arrow_bitmaps.h"

#include <QColor>
#include <QImage>
#include <QPalette>

namespace kestrelink {

QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette) {
    const std::optional<ArrowPattern> pattern = SortArrowPattern(bitmapId);
    if (!pattern) {
        return {};
    }
    const QColor ground = palette.color(QPalette::Button);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor light(255, 255, 255);
    QImage image(kSortArrowSize, kSortArrowSize, QImage::Format_RGB32);
    for (int y = 0; y < kSortArrowSize; ++y) {
        for (int x = 0; x < kSortArrowSize; ++x) {
            const ArrowShade shade =
                (*pattern)[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            image.setPixelColor(x, y,
                                shade == ArrowShade::Shadow  ? shadow
                                : shade == ArrowShade::Light ? light
                                                             : ground);
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace kestrelink
