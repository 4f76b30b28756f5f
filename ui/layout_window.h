// Places the window's controls for the current size and view, and the two splitter bars.
#pragma once

#include <windows.h>

namespace velkor {

// Moves, shows and hides the controls for the client size, the split values and the shown
// views, and keeps the split values as the layout limited them.
void LayoutMainWindow(HWND main);
// The splitter bars: dragging one moves its split; letting go saves the settings.
LRESULT CALLBACK SplitterWindowProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velkor
