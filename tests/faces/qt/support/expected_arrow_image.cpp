#include "tests/faces/qt/support/expected_arrow_image.h"

#include <QColor>
#include <QPalette>

namespace kestrelink::testing {

QImage ExpectedArrowImage(const ArrowRows& rows, const QPalette& palette) {
    QImage image(14, 14, QImage::Format_RGB32);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const char pixel = rows[std::size_t(y)][std::size_t(x)];
            image.setPixelColor(x, y,
                                pixel == 'd'   ? palette.color(QPalette::Dark)
                                : pixel == 'w' ? QColor(255, 255, 255)
                                               : palette.color(QPalette::Button));
        }
    }
    return image;
}

}  // namespace kestrelink::testing
