#include "behaviour/filter_placement.h"

namespace kestrelink {

FilterPlaces FilterInForceIePlace(const ControlRect& forceIe, const ControlRect& filter,
                                  const ControlRect& deviceCount) {
    const int shift = filter.left - forceIe.left;
    FilterPlaces places{filter, deviceCount};
    places.filter.left -= shift;
    places.deviceCount.left -= shift;
    // The count keeps its right edge: a comparison's "N new, N changed, N missing" needs the room.
    places.deviceCount.width += shift;
    return places;
}

}  // namespace kestrelink
