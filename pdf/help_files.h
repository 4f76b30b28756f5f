// The two help files beside the program, in the interface language. They are rewritten at
// start-up, when the language changes and before each help command opens one, so they match the
// running program and a deleted file comes back. Opening a file in the user's viewer is the
// front-end's job.
#pragma once

#include <string>

#include "common/localization.h"

namespace velkor {

// Where the help files go: the program's data folder (GetDataDirectory) unless SetHelpFolder chose
// another.
std::wstring HelpFolder();
// From now on the help files go to folder (the per-user folder while the program tests the drive
// it lies on: a help command must not take space from the run or land where the run writes).
void SetHelpFolder(const std::wstring& folder);

// HelpFolder() + "Velkor-Hilfe.html" / ".pdf" in German, "Velkor-Help", "Velkor-Aide" and
// "Velkor-Ayuda" in English, French and Spanish; the current language's by default.
std::wstring HelpHtmlPath(int language = CurrentLanguage);
std::wstring HelpPdfPath(int language = CurrentLanguage);

// Writes BuildHelpHtml(language) as UTF-8 without byte-order mark, replacing the file. False when
// the file cannot be written; platform::LastError() then holds the reason.
bool WriteHelpHtml(const std::wstring& path, int language);

struct HelpFilesResult {
  bool htmlWritten = false;
  bool pdfWritten = false;
};

// Writes both help files of language into folder, replacing earlier ones. A file that cannot be written (a
// write-protected program folder) does not stop the other one; it is logged as a "FEHLER:" line
// with its path and the system's error text and named in a "Fehler:" status text. Callers may
// ignore the result: the help command opens whatever is there.
HelpFilesResult GenerateHelpFiles(const std::wstring& folder, int language);

// GenerateHelpFiles into HelpFolder() in the current language: at start-up, after a
// language change and at the start of each help command.
HelpFilesResult GenerateHelpFiles();

}  // namespace velkor
