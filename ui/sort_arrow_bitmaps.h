#pragma once

#include <QPixmap>

class QPalette;

namespace kestrelink {

inline constexpr int kSortArrowUpBitmap = 133;
inline constexpr int kSortArrowDownBitmap = 134;
inline constexpr int kSortArrowSize = 14;

// The arrow as the header shows it: designed on light grey with a dark grey and white outline,
// it is drawn with light grey in the palette's button face and dark grey in its 3D shadow, so
// that it blends into the header whatever the colour scheme. A null pixmap for any other id.
QPixmap SortArrowBitmap(int bitmapId, const QPalette& palette);

}  // namespace kestrelink
