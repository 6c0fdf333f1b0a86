#pragma once

#include <windows.h>

#include "behaviour/window_state.h"

namespace kestrelink::win32 {

// Sizes, places and maximises window as saved says, once fitted to today's screens; the state
// as fitted, for the caller's columns and sort.
WindowState PlaceWindow(HWND window, const StoredWindowState& saved);
// The window's size, place and maximised state, into state.
void NotePlacement(HWND window, WindowState& state);

}  // namespace kestrelink::win32
