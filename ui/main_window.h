// The main window: its classes, creation, the message table and the hand-over from the test
// threads, and the program's message loop.
#pragma once

#include <windows.h>

namespace velkor {

// The main window's messages, one handler each.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Loads the settings, registers the classes, creates and shows the window; null on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// Loads the settings, registers the classes, creates and shows the window and runs the message
// loop. Returns the quit code, or 1 when the window could not be made.
int RunVelkor(HINSTANCE instance, int showCommand);

}  // namespace velkor
