#pragma once

#include <windows.h>

#include "faces/win32/handles.h"

namespace kestrelink::win32 {

// The system's answers for a monitor's dots per inch. The calls made for that came with
// Windows 10 and are looked up when first needed: where one is missing (older Wine), the
// system-wide setting stands in.

// The dots per inch of the monitor window is on.
int WindowDpi(HWND window);
// The dots per inch the system started with, which GetSystemMetrics answers in.
int SystemDpi();
// GetSystemMetrics(index) as it is at dpi.
int SystemMetricForDpi(int index, int dpi);
// The icon name of instance (nullptr: the system's) drawn at size pixels square, scaled down
// from the nearest larger image rather than up from a smaller one; nullptr when there is none.
Icon LoadIconSized(HINSTANCE instance, const wchar_t* name, int size);
// Leaves dialog's placing, font and size at a change of monitor to its own procedure.
void TakeOverDialogDpiChanges(HWND dialog);
// The frame's size around a client area of clientSize at dpi.
SIZE WindowSizeForClient(HWND window, SIZE clientSize, int dpi);

}  // namespace kestrelink::win32
