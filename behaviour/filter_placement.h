#pragma once

namespace kestrelink {

// A control's rectangle in its dialog: in the template's dialog units, or in pixels once drawn.
struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ControlRect&) const = default;
};

struct FilterPlaces {
    ControlRect filter;
    ControlRect deviceCount;

    bool operator==(const FilterPlaces&) const = default;
};

// Where the filter and its count go when "Force IE only" is hidden: left, together, until the
// filter starts where the check box does, so that the bottom row starts at the left edge; the
// count widens into the room it leaves.
FilterPlaces FilterInForceIePlace(const ControlRect& forceIe, const ControlRect& filter,
                                  const ControlRect& deviceCount);

}  // namespace kestrelink
