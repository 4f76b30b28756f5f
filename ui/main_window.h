// The program's entry and the main window: classes, creation of every control, the message
// table and the hand-over from the test threads.
#pragma once

#include <windows.h>

namespace velkor {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Loads the settings, registers the classes, creates and shows the window; null on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// Loads the settings, registers the classes, creates and shows the window and runs the message
// loop. Returns the quit code, or 1 when the window could not be made.
int RunVelkor(HINSTANCE instance, int showCommand);

}  // namespace velkor
