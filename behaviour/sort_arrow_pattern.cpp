#include "behaviour/sort_arrow_pattern.h"

namespace kestrelink {
namespace {

using Drawing = std::array<std::string_view, kSortArrowSize>;

// '.' ground, 'D' shadow, 'W' light. The left slope is in shadow.
// clang-format off
constexpr Drawing kUpDrawing = {
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

constexpr Drawing kDownDrawing = {
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

ArrowPattern PatternOf(const Drawing& drawing) {
    ArrowPattern pattern{};
    for (std::size_t y = 0; y < drawing.size(); ++y) {
        for (std::size_t x = 0; x < drawing[y].size(); ++x) {
            const char pixel = drawing[y][x];
            pattern[y][x] = pixel == 'D'   ? ArrowShade::Shadow
                            : pixel == 'W' ? ArrowShade::Light
                                           : ArrowShade::Ground;
        }
    }
    return pattern;
}

}  // namespace

std::optional<ArrowPattern> SortArrowPattern(int bitmapId) {
    switch (bitmapId) {
        case kSortArrowUpBitmap:
            return PatternOf(kUpDrawing);
        case kSortArrowDownBitmap:
            return PatternOf(kDownDrawing);
        default:
            return std::nullopt;
    }
}

}  // namespace kestrelink
