#include "ui/commands.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/paths.h"
#include "common/settings.h"
#include "engine/run_config.h"
#include "engine/run_files.h"
#include "results/exports.h"
#include "results/result_record.h"
#include "results/results_database.h"
#include "ui/lists.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/window_texts.h"

namespace velkor {
namespace {

void FillChoices(int number, const std::vector<std::wstring>& texts, int selection) {
  HWND box = Control(number);
  if (box == nullptr) return;
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& text : texts) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(box, CB_SETCURSEL, selection, 0);
}

int CurrentSelection(int number) {
  HWND box = Control(number);
  return box != nullptr ? static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0)) : -1;
}

void SetMenuItem(HMENU menu, UINT id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuText(HMENU menu, UINT id, const wchar_t* text) {
  ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
}

}  // namespace

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kIdExplorer, L"Explorer öffnen");
  AppendMenuW(file, MF_STRING, kIdExport, L"Ergebnisse exportieren...");
  AppendMenuW(file, MF_STRING, kIdOpenResults, L"Ergebnisordner öffnen");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kIdExit, L"Beenden");
  HMENU test = CreatePopupMenu();
  AppendMenuW(test, MF_STRING, kIdStart, L"Testen");
  AppendMenuW(test, MF_STRING, kIdStop, L"Stop");
  AppendMenuW(test, MF_STRING, kIdVerifyOnly, L"Nur prüfen");
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, kIdSettingsToggle, L"Einstellungen anzeigen");
  AppendMenuW(view, MF_STRING, kIdMethodToggle, L"Methodentest anzeigen");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, kIdHelpHtml, L"Hilfe anzeigen (HTML)");
  AppendMenuW(help, MF_STRING, kIdHelpPdf, L"PDF-Hilfe öffnen");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Datei");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(test), L"&Test");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&Ansicht");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Hilfe");
  return bar;
}

void UpdateMenuStates() {
  WindowState& ui = Ui();
  HMENU menu = ui.main != nullptr ? GetMenu(ui.main) : nullptr;
  if (menu == nullptr) return;
  const MenuStates s =
      ComputeMenuStates(TestRunning(), !ui.currentResults.empty(), ui.settingsShown, ui.methodDetailsShown);
  SetMenuItem(menu, kIdStart, s.startEnabled);
  SetMenuItem(menu, kIdVerifyOnly, s.startEnabled);
  SetMenuItem(menu, kIdStop, s.stopEnabled);
  SetMenuItem(menu, kIdExport, s.exportEnabled);
  SetMenuItem(menu, kIdOpenResults, s.viewItemsEnabled);
  SetMenuItem(menu, kIdSettingsToggle, s.viewItemsEnabled);
  SetMenuItem(menu, kIdMethodToggle, s.viewItemsEnabled);
  SetMenuText(menu, kIdSettingsToggle, s.settingsItemText);
  SetMenuText(menu, kIdMethodToggle, s.methodItemText);
  // ModifyMenu resets the state: grey again where needed.
  SetMenuItem(menu, kIdSettingsToggle, s.viewItemsEnabled);
  SetMenuItem(menu, kIdMethodToggle, s.viewItemsEnabled);
  DrawMenuBar(ui.main);
}

void SetControlsEnabled(bool enable) {
  Ui().controlsLocked = !enable;
  for (int n : {kCtlDriveList, kCtlTestSizeField, kCtlBlockField, kCtlWorkerField, kCtlReserveField,
                kCtlTestPointsField, kCtlProfileBox, kCtlPartialCheck, kCtlPartialStartField, kCtlPartialRangeField,
                kCtlDeleteCheck, kCtlLanguageBox, kCtlSavedTestsBox, kCtlExportBox, kCtlExportButton,
                kCtlOpenResultsButton, kCtlRandomPointsCheck, kCtlMethodCheck, kCtlFastestCheck, kCtlMethodToggle,
                kCtlVerifyOnlyButton, kCtlSettingsToggle, kCtlVerticalBar, kCtlHorizontalBar}) {
    EnableControl(n, enable);
  }
  if (!enable) SetText(kCtlStatusLine, Translate(L"locked_status"));
  UpdateMenuStates();
}

void UpdatePartialControls(bool enabled) {
  for (int n : {kCtlPartialStartLabel, kCtlPartialStartField, kCtlPartialRangeLabel, kCtlPartialRangeField}) {
    EnableControl(n, enabled);
  }
}

void UpdateSummaryText() { SetText(kCtlSummary, BuildResultSummary(Ui().currentResults)); }

void UpdateSelectedDriveLabel() { SetText(kCtlSelectedDrive, SelectedDriveLine(GetSelectedDrive())); }

void OpenSelectedDriveInExplorer() {
  const std::wstring root = GetSelectedDriveRoot();
  if (!root.empty()) ShellExecuteW(nullptr, L"open", root.c_str(), nullptr, nullptr, SW_SHOW);
}

void FillProfileChoices(bool keepSelection) {
  int selection = keepSelection ? CurrentSelection(kCtlProfileBox) : static_cast<int>(kProfileReliable);
  if (selection < 0 || selection > 3) selection = kProfileReliable;
  std::vector<std::wstring> names;
  for (uint32_t p = 0; p < 4; ++p) names.push_back(AccessProfileName(p));
  FillChoices(kCtlProfileBox, names, selection);
}

void FillExportFormatChoices() {
  int selection = CurrentSelection(kCtlExportBox);
  if (selection < 0 || selection >= static_cast<int>(kExportFormatCount)) selection = 0;
  std::vector<std::wstring> names;
  for (const ExportFormat& format : kExportFormats) names.push_back(format.name);
  FillChoices(kCtlExportBox, names, selection);
}

void OfferTestFileDeletion(HWND owner) {
  WindowState& ui = Ui();
  if (!ui.run || !ui.run->deletePending || ui.run->deletePrompted) return;
  TestState& run = *ui.run;
  run.deletePrompted = true;
  const size_t count = run.createdFiles.empty() ? 1 : run.createdFiles.size();
  const std::wstring question = DeletionQuestion(count);
  const int answer = MessageBoxW(owner, question.c_str(), kDeletionTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer == IDYES) {
    DeleteRunTestFiles(run.createdFiles, run.filePath);
  } else {
    AppendDiagLog(L"Testdateien nicht gelöscht.");
  }
  run.deletePending = false;
}

void FillLanguageChoices() {
  std::vector<std::wstring> names;
  for (int language = 0; language < kLanguageCount; ++language) names.push_back(LanguageName(language));
  FillChoices(kCtlLanguageBox, names, CurrentLanguage);
}

void ApplyLanguage() {
  WindowState& ui = Ui();
  if (ui.main != nullptr) SetWindowTextW(ui.main, Translate(L"app_title").c_str());
  static const std::pair<int, const wchar_t*> kCaptions[] = {
      {kCtlDrivesLabel, L"drives"},          {kCtlResultsLabel, L"results"},
      {kCtlExplorerButton, L"open_explorer"}, {kCtlLanguageLabel, L"language"},
      {kCtlSavedTestsLabel, L"saved_tests"}, {kCtlExportLabel, L"export_format"},
      {kCtlExportButton, L"export_button"},  {kCtlOpenResultsButton, L"open_results"},
      {kCtlTestSizeLabel, L"test_size"},     {kCtlBlockLabel, L"block_size"},
      {kCtlReserveLabel, L"reserve_free"},   {kCtlTestPointsLabel, L"test_points"},
      {kCtlProfileLabel, L"profile"},        {kCtlPartialCheck, L"partial"},
      {kCtlPartialStartLabel, L"start_mb"},  {kCtlPartialRangeLabel, L"range_mb"},
      {kCtlDeleteCheck, L"delete_after"},    {kCtlStartButton, L"start"},
      {kCtlStopButton, L"stop"},
  };
  for (const auto& [number, key] : kCaptions) SetText(number, Translate(key));
  SetText(kCtlSettingsToggle, Translate(ui.settingsShown ? L"settings_hide" : L"settings_show"));
  SetText(kCtlVerifyOnlyButton, Translate(L"verify_only"));
  SetText(kCtlMethodToggle, Translate(ui.methodDetailsShown ? L"hide_benchmark" : L"show_benchmark"));
  SetText(kCtlMethodCheck, Translate(L"benchmark"));
  SetText(kCtlFastestCheck, Translate(L"use_fastest"));
  SetText(kCtlRandomPointsCheck, Translate(L"random_points"));
  SetText(kCtlLogLabel, Translate(L"diag_log"));
  if (!TestRunning()) SetText(kCtlStatusLine, Translate(L"ready"));
  RelabelDriveColumns();
  RelabelResultColumns();
  FillLanguageChoices();
  FillProfileChoices(true);
  FillExportFormatChoices();
  UpdateSelectedDriveLabel();
  RefreshWorkerControl();
  FillResultList();
  UpdateSummaryText();
  UpdateMenuStates();
}

void OnLanguageChosen(int index) {
  if (Ui().controlsLocked || index < 0 || index >= kLanguageCount) return;
  CurrentLanguage = index;
  ApplyLanguage();
  SaveWindowSettings();
}

void RefreshSavedTests(const std::wstring& pathToSelect) {
  WindowState& ui = Ui();
  HWND box = Control(kCtlSavedTestsBox);
  if (box == nullptr) return;
  ui.savedResultFiles = ListSavedResultFiles();
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& path : ui.savedResultFiles) {
    const std::wstring name = FileNameOfPath(path);
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, SavedResultSelection(ui.savedResultFiles, pathToSelect), 0);
}

bool LoadResultsIntoWindow(const std::wstring& path) {
  std::vector<ResultRecord> records;
  if (!LoadResultsFile(path, &records)) return false;
  WindowState& ui = Ui();
  ui.currentResults = std::move(records);
  ui.currentResultsPath = path;
  SortResults();
  FillResultList();
  UpdateSummaryText();
  return true;
}

void SaveWindowSettings() {
  WindowState& ui = Ui();
  WindowSnapshot snapshot;
  if (ui.main != nullptr && !IsIconic(ui.main)) {
    RECT r{};
    if (GetWindowRect(ui.main, &r)) {
      snapshot.hasOuterSize = true;
      snapshot.outerWidth = r.right - r.left;
      snapshot.outerHeight = r.bottom - r.top;
    }
  }
  ColumnLayout drives, results;
  if (HWND list = Control(kCtlDriveList)) {
    drives = ReadListLayout(list, kDriveListColumns);
    snapshot.driveColumns = &drives;
  }
  if (HWND list = Control(kCtlResultList)) {
    results = ReadListLayout(list, kResultListColumns);
    snapshot.resultColumns = &results;
  }
  SaveSettings(snapshot);
}

}  // namespace velkor
