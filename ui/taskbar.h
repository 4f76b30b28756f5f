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
// The end of a run on the button, for a user who works elsewhere: red for a failed medium, yellow
// for a run that did not finish or checked a part (TaskbarAtRunEnd), and a flash until the window
// comes to the front after a long run.
void ShowRunEndOnTaskbar(HWND main, VerdictKind verdict, int64_t runSeconds);
// The window came to the front: a red end mark has been seen.
void OnWindowActivated(HWND main);

}  // namespace velkor
