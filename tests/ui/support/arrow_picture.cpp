#include "tests/ui/support/arrow_picture.h"

#include <QColor>
#include <QPalette>
#include <array>
#include <string_view>

namespace kestrelink::testing {
namespace {

// Rows 4 to 10 of the up arrow (left) and the down arrow (right); every other row is all ground.
// '.' ground, 'D' dark shade, 'W' white.
// clang-format off
constexpr std::array<std::string_view, 7> kRows = {
    "......DW......  ...DDDDDDDD...",
    "......DW......  ....D....W....",
    ".....D..W.....  ....D....W....",
    ".....D..W.....  .....D..W.....",
    "....D....W....  .....D..W.....",
    "....D....W....  ......DW......",
    "...WWWWWWWW...  ......DW......",
};
// clang-format on

}  // namespace

QImage ArrowPicture(bool up, const QPalette& palette) {
    QImage picture(14, 14, QImage::Format_RGB32);
    picture.fill(palette.color(QPalette::Button));
    for (int y = 0; y < 7; ++y) {
        const std::string_view row = kRows[static_cast<std::size_t>(y)].substr(up ? 0 : 16, 14);
        for (int x = 0; x < 14; ++x) {
            const char pixel = row[static_cast<std::size_t>(x)];
            if (pixel != '.') {
                picture.setPixelColor(
                    x, y + 4, pixel == 'D' ? palette.color(QPalette::Dark) : QColor(Qt::white));
            }
        }
    }
    return picture;
}

}  // namespace kestrelink::testing
