// The menu bar and the small operations behind the window's commands and control states, the
// language switch, the saved-tests box and the settings save.
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

HMENU BuildMenuBar();
void UpdateMenuStates();
// Enables or disables the settings controls; locking also shows the locked status text.
void SetControlsEnabled(bool enable);
void UpdatePartialControls(bool enabled);
void UpdateSummaryText();
void UpdateSelectedDriveLabel();
void OpenSelectedDriveInExplorer();
void FillProfileChoices(bool keepSelection);
void FillExportFormatChoices();
// The deletion question after a run: at most once per run, only when the run asked for it.
void OfferTestFileDeletion(HWND owner);

// Pushes the current language's texts into every control, header and choice.
void ApplyLanguage();
void FillLanguageChoices();
// The user picked entry index of the language box.
void OnLanguageChosen(int index);

// Lists the results folder's .json files in the saved-tests box, oldest first, and selects
// pathToSelect (or the newest file) without loading it.
void RefreshSavedTests(const std::wstring& pathToSelect);
// Shows the records of a saved results file; false (and nothing changes) when it cannot be read.
bool LoadResultsIntoWindow(const std::wstring& path);

// Writes the settings file with the window's size and both lists' columns.
void SaveWindowSettings();

}  // namespace velkor
