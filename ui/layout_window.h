// Places the window's controls for the current size and view, and the two splitter bars.
#pragma once

#include <windows.h>

namespace velkor {

void LayoutMainWindow(HWND main);
LRESULT CALLBACK SplitterWindowProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velkor
