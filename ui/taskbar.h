// The window's taskbar button: a run's progress (red once errors are found) and a flash when a
// long run ends while the user works elsewhere.
#pragma once

#include <windows.h>

#include "view/taskbar_state.h"

namespace velkor {

// The message the shell sends once the window's taskbar button exists.
UINT TaskbarButtonCreatedMessage();
// The button exists (again, after the shell restarted): shows what the window last asked for.
void OnTaskbarButtonCreated(HWND main);
// Shows progress on the button; only changes reach the shell.
void ShowTaskbarProgress(HWND main, const TaskbarProgress& progress);
// Lets the shell's object go (the window is being destroyed).
void ReleaseTaskbar();
// Flashes the button until the window comes to the front, when the rule says so.
void FlashAtRunEnd(HWND main, int64_t runSeconds);

}  // namespace velkor
