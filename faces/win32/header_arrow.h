#pragma once

#include <windows.h>

#include "faces/win32/handles.h"

namespace kestrelink::win32 {

// A header's sort arrow for a monitor's dots per inch, drawn in the system's button text on its
// button face as they are now: so high contrast shows it, and it is made anew when they change.
Bitmap DrawHeaderArrow(int dpi, bool pointsUp);

}  // namespace kestrelink::win32
