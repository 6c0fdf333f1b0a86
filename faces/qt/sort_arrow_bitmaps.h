#pragma once

#include <QPixmap>

#include "behaviour/sort_arrow_pattern.h"

class QPalette;

namespace kestrelink {

// The arrow as the header shows it: its ground in the palette's button face, its shadow in the
// palette's 3D shadow (Dark), its light white. A null pixmap for any id but the arrows'.
QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette);

}  // namespace kestrelink
