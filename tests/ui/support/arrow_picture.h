#pragma once

#include <QImage>

class QPalette;

namespace kestrelink::testing {

// The header's sort arrow as it must look, pixel by pixel: 14 by 14, up for ascending order
// and down for descending, in the palette's button face, its dark shade and white.
QImage ArrowPicture(bool up, const QPalette& palette);

}  // namespace kestrelink::testing
