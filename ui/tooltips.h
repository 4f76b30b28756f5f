// Balloon tooltips titled "Hilfe" (in the current language) on every control, and the same hint in the status line while
// the pointer is over a control or it has the focus (never while a test runs).
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

// The hint text of a control, from its id, its current text and whether a run has locked it; the
// saved-tests box adds the chosen file's name.
std::wstring GetControlHint(HWND control);
// The control's hint in the status line ("ready" for none), not while a test runs.
void ShowHintInStatusLine(HWND control);
// The pointer left the controls: a hint the status line still shows gives way to "ready"; any
// other status text stays.
void TakeHintFromStatusLine();
// One tooltip for the window and a hint per child control; the controls must exist.
void InstallTooltips(HWND main);
// Every tip and its title again in the current language; a tip on show and the status line's
// hint change with it.
void RelabelTooltips();
// The tips' maximum width (420 at 96 DPI) at the window's DPI.
void ScaleTooltipWidth();

}  // namespace velkor
