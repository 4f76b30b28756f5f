// The small operations behind the window's commands and control states: locking, choices, the
// language switch, the saved-tests box, the deletion question and the settings save.
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

// Enables or disables the settings controls; locking also shows the locked status text.
void SetControlsEnabled(bool enable);
// Enables or disables the partial-test fields with the partial check box.
void UpdatePartialControls(bool enabled);
// Greys or enables every setting by the rules of view/field_states.h (run lock, the profile's
// take-over, the partial range) and puts the take-over reason into the hint line.
void ApplyFieldStates();
// The summary field from CurrentResults.
void UpdateSummaryText();
// The selected-drive line from the drive list's selection.
void UpdateSelectedDriveLabel();
// Opens the selected drive with the shell; nothing without a selection.
void OpenSelectedDriveInExplorer();
// Fills the profile box in the current language, keeping its selection or selecting "Zuverlässig".
void FillProfileChoices(bool keepSelection);
// Fills the export format box, keeping its selection (else the first format).
void FillExportFormatChoices();
// The deletion question after a run: at most once per run, only when the run asked for it. True
// when the user chose deletion: it runs on a worker and the window hears of its end later.
bool OfferTestFileDeletion(HWND owner);

// Pushes the current language's texts into every control, header and choice.
void ApplyLanguage();
// The two view toggles' captions for whether their parts are shown.
void LabelViewToggles();
// Fills the language box and selects the current language.
void FillLanguageChoices();
// The user picked entry index of the language box: switches and saves; nothing while locked.
void OnLanguageChosen(int index);

// Lists the results folder's .json files in the saved-tests box, oldest first, and selects
// pathToSelect (or the newest file) without loading it.
void RefreshSavedTests(const std::wstring& pathToSelect);
// The saved-tests box's open list as wide as its longest entry (when it opens: its width then is
// the layout's).
void FitSavedTestsDropDown();
// The results file chosen in the saved-tests box; empty for none.
std::wstring SelectedSavedTest();
// Shows the records of a saved results file; false (and nothing changes) when it cannot be read.
bool LoadResultsIntoWindow(const std::wstring& path);

// Writes the settings file with the window's size and both lists' columns; while a run writes on
// the program's own drive, only notes that they are to be written once it has ended.
void SaveWindowSettings();

}  // namespace velkor
