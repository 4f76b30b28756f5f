// The two help files beside the program. They are rewritten at start-up and before each help
// command opens one, so they match the running program and a deleted file comes back. Opening a
// file in the user's viewer is the front-end's job.
#pragma once

#include <string>

namespace velkor {

// Program directory + "Velkor-Hilfe.html" and + "Velkor-Hilfe.pdf".
std::wstring HelpHtmlPath();
std::wstring HelpPdfPath();

// Writes BuildHelpHtml as UTF-8 without byte-order mark, replacing the file. False when the file
// cannot be written; platform::LastError() then holds the reason.
bool WriteHelpHtml(const std::wstring& path);

struct HelpFilesResult {
  bool htmlWritten = false;
  bool pdfWritten = false;
};

// Writes both help files into folder, replacing earlier ones. A file that cannot be written (a
// write-protected program folder) does not stop the other one; it is logged as a "FEHLER:" line
// with its path and the system's error text and named in a "Fehler:" status text. Callers may
// ignore the result: the help command opens whatever is there.
HelpFilesResult GenerateHelpFiles(const std::wstring& folder);

// GenerateHelpFiles into the program directory: at start-up and at the start of each help command.
HelpFilesResult GenerateHelpFiles();

}  // namespace velkor
