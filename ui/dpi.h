// The resolution the window is drawn at. The window is aware of each screen's DPI (manifest);
// these ask the system, and fall back to the system-wide DPI where a call is missing (Windows 10
// before version 1607).
#pragma once

#include <windows.h>

namespace velkor {

// The DPI of the screen the window is on.
int WindowDpi(HWND window);

// The DPI of the screen that holds most of rect (screen coordinates), for a window not made yet.
int DpiOfScreenArea(const RECT& rect);

// The window's font ("Segoe UI", 12 pixels at 96 DPI) at dpi.
HFONT CreateUiFont(int dpi);

}  // namespace velkor
