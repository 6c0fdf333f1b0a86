#pragma once

#include <QImage>
#include <QPixmap>

class QPalette;

namespace kestrelink {

inline constexpr int kSortArrowUpBitmap = 133;
inline constexpr int kSortArrowDownBitmap = 134;
inline constexpr int kSortArrowSize = 14;

// The arrow as designed: light grey (192, 192, 192) ground, dark grey (128, 128, 128) and white
// outline. A null image for any other id.
QImage SortArrowReference(int bitmapId);

// The arrow as the header shows it: light grey drawn in the palette's button face and dark grey
// in its 3D shadow, so that the arrow blends into the header whatever the colour scheme.
QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette);

}  // namespace kestrelink
