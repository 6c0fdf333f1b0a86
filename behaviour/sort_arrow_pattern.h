#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kestrelink {

inline constexpr int kSortArrowUpBitmap = 133;
inline constexpr int kSortArrowDownBitmap = 134;
inline constexpr int kSortArrowSize = 14;

// The shades of a header's sort arrow, designed on light grey with a dark grey and white outline
// and lit from the top left. A face draws Ground in its header's button face and Shadow in its 3D
// shadow, so that the arrow blends into the header whatever the colour scheme; Light is white.
enum class ArrowShade { Ground, Shadow, Light };

using ArrowPattern = std::array<std::array<ArrowShade, kSortArrowSize>, kSortArrowSize>;

// Rows top to bottom, pixels left to right; nullopt for any id but the two arrows'.
std::optional<ArrowPattern> SortArrowPattern(int bitmapId);

}  // namespace kestrelink
