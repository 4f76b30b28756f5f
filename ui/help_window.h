// The help documents beside the program and the two help commands.
#pragma once

#include <windows.h>

namespace velkor {

// Writes the HTML and the PDF help beside the program (at start-up).
void WriteHelpDocuments();
// Writes the document again when it is missing, then opens it with the shell.
void OpenHtmlHelp(HWND main);
void OpenPdfHelp(HWND main);

}  // namespace velkor
