// The two help commands: each opens its help document with the shell.
#pragma once

#include <windows.h>

namespace velkor {

// Writes both help files again (a deleted one comes back), then opens the HTML one with the shell.
void OpenHtmlHelp(HWND main);
// The same, opening the PDF one.
void OpenPdfHelp(HWND main);

}  // namespace velkor
