// Hilfe > "Über Velkor".
#pragma once

#include <windows.h>

namespace velkor {

// The box with the version, this program's build date and the licence line, owned by main.
void ShowAboutBox(HWND main);

}  // namespace velkor
