// Texts and states of the window that follow from plain values: the menu's greying and toggle
// texts, the selected-drive line and the deletion question.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "drives/drive_info.h"

namespace velkor {

struct MenuStates {
  bool startEnabled = true;        // "Testen", "Nur prüfen"
  bool stopEnabled = false;        // "Stop"
  bool exportEnabled = false;      // "Ergebnisse exportieren..."
  bool viewItemsEnabled = true;    // "Ergebnisordner öffnen" and the two view toggles
  const wchar_t* settingsItemKey = L"";  // text-table keys of the two toggles' texts
  const wchar_t* methodItemKey = L"";
};
MenuStates ComputeMenuStates(bool running, bool hasResults, bool settingsShown, bool methodDetailsShown);

// "Ziel: E:\ | STICK | FAT32 | frei 14.8 GB von 14.8 GB (99.95%) | Anschluss: USB" in the current
// language, with the write-protection text and the system-volume text at the end where they
// apply; the no-selection text for none.
std::wstring SelectedDriveLine(const DriveInfo* drive);

// Which part of the drive a test size covers, for the selected-drive line of the expanded view:
// "Test: 1.0 GB von 3.0 GB freiem Speicher (33.33%), der Rest nicht" where it leaves free space
// untested (the free space less the reserve and the safety buffer, as the verdict counts it),
// "Test: ganzer freier Speicher" where it covers it; empty for a drive without free space.
std::wstring TestSizeCoverageText(uint64_t testBytes, uint64_t freeBytes, uint64_t reserveBytes);

// What the shell is asked to open for a folder: a path that ends in a backslash ("E:\") gets a
// "." after it, because a shell that quotes its argument would read the backslash before the
// closing quote as an escaped quote and open E:" instead.
std::wstring ShellFolderTarget(const std::wstring& folder);

// The deletion question for a run that created count files, in the current language; its box's
// title is Translate("box_delete_title").
std::wstring DeletionQuestion(size_t count);

}  // namespace velkor
