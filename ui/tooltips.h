// Balloon tooltips titled "Hilfe" on every control, and the same hint in the status line while
// the pointer is over a control or it has the focus (never while a test runs).
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

std::wstring GetControlHint(HWND control);
void InstallTooltips(HWND main);

}  // namespace velkor
