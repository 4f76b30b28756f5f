// The window's commands: what each menu item and control notification does, one line per id.
#pragma once

#include <windows.h>

namespace velkor {

// The main window's WM_COMMAND. Settings commands do nothing while the controls are locked;
// ids it does not know go to DefWindowProc.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace velkor
