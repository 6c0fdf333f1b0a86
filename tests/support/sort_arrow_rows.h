#pragma once

#include <array>
#include <string_view>

namespace kestrelink::testing {

// The header's sort arrows as a face should show them, top row first: 'd' the 3D shadow, 'w'
// white, '.' the header's button face. Lit from the top left: the left slope in shadow, the
// base lit at the bottom of the arrow that points up and in shadow at the top of the other.
using ArrowRows = std::array<std::string_view, 14>;

// clang-format off
inline constexpr ArrowRows kArrowUpRows = {
    "..............",
    "..............",
    "..............",
    "..............",
    "......dw......",
    "......dw......",
    ".....d..w.....",
    ".....d..w.....",
    "....d....w....",
    "....d....w....",
    "...wwwwwwww...",
    "..............",
    "..............",
    "..............",
};

inline constexpr ArrowRows kArrowDownRows = {
    "..............",
    "..............",
    "..............",
    "..............",
    "...dddddddd...",
    "....d....w....",
    "....d....w....",
    ".....d..w.....",
    ".....d..w.....",
    "......dw......",
    "......dw......",
    "..............",
    "..............",
    "..............",
};
// clang-format on

}  // namespace kestrelink::testing
