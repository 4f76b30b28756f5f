#include "ui/commands.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/paths.h"
#include "common/settings.h"
#include "engine/run_config.h"
#include "pdf/help_files.h"
#include "engine/run_files.h"
#include "engine/start_rules.h"
#include "results/evidence.h"
#include "results/exports.h"
#include "results/result_record.h"
#include "results/results_database.h"
#include "ui/controls.h"
#include "ui/diagnosis_window.h"
#include "ui/lists.h"
#include "ui/menus.h"
#include "ui/run_control.h"
#include "ui/task_dialog.h"
#include "ui/tooltips.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/dpi_scale.h"
#include "view/field_states.h"
#include "view/main_layout.h"
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

}  // namespace

void SetControlsEnabled(bool enable) {
  Ui().controlsLocked = !enable;
  for (int n : {kCtlDriveList, kCtlLanguageLabel, kCtlLanguageBox, kCtlSavedTestsLabel, kCtlSavedTestsBox,
                kCtlExportLabel, kCtlExportBox, kCtlExportButton, kCtlOpenResultsButton, kCtlMethodToggle,
                kCtlVerifyOnlyButton, kCtlSettingsToggle, kCtlVerticalBar, kCtlHorizontalBar}) {
    EnableControl(n, enable);
  }
  ApplyFieldStates();
  if (!enable) SetText(kCtlStatusLine, Translate(L"locked_status"));
  UpdateMenuStates();
}

void ApplyFieldStates() {
  FieldStateInput input;
  input.running = Ui().controlsLocked;
  input.profile = ProfileOfSelection(ChoiceSelection(kCtlProfileBox));
  input.partialTicked = IsChecked(kCtlPartialCheck);
  const FieldStates states = DecideFieldStates(input);
  for (int n : states.enabled) EnableControl(n, true);
  for (int n : states.disabled) EnableControl(n, false);
  Ui().takeoverReason = states.takeoverReason;
  RefreshWorkerControl();
}

void UpdatePartialControls(bool) { ApplyFieldStates(); }

void UpdateSummaryText() {
  SetText(kCtlSummary, BuildResultSummary(Ui().currentResults, Ui().currentVerdict, CurrentLanguage));
}

void UpdateSelectedDriveLabel() {
  const DriveInfo* drive = GetSelectedDrive();
  std::wstring line = SelectedDriveLine(drive);
  // The expanded view says which part of the drive the test size covers.
  const WindowState& ui = Ui();
  if (drive != nullptr && ui.settingsShown && !TestRunning()) {
    const uint64_t mebibyte = 1048576;
    const std::wstring coverage =
        TestSizeCoverageText(ReadNumberField(WindowText(Control(kCtlTestSizeField))).value_or(0) * mebibyte,
                             drive->freeBytes, ReadNumberField(WindowText(Control(kCtlReserveField))).value_or(0) * mebibyte);
    if (!coverage.empty()) line += L"\r\n" + coverage;
  }
  SetText(kCtlSelectedDrive, line);
}

void OpenSelectedDriveInExplorer() {
  const std::wstring root = GetSelectedDriveRoot();
  const std::wstring target = ShellFolderTarget(root);
  if (!root.empty()) ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

void FillProfileChoices(bool keepSelection) {
  const uint32_t profile = keepSelection ? ProfileOfSelection(ChoiceSelection(kCtlProfileBox)) : kProfileReliable;
  std::vector<std::wstring> names;
  for (uint32_t p = kProfileTurbo; p <= kProfileQuorvel; ++p) names.push_back(Localize(AccessProfileName(p)));
  FillChoices(kCtlProfileBox, names, static_cast<int>(profile));
}

void FillExportFormatChoices() {
  int selection = ChoiceSelection(kCtlExportBox);
  if (selection < 0 || selection >= static_cast<int>(kExportFormatCount)) selection = 0;
  std::vector<std::wstring> names;
  for (const ExportFormat& format : kExportFormats) names.push_back(Localize(format.name));
  FillChoices(kCtlExportBox, names, selection);
}

bool OfferTestFileDeletion(HWND owner) {
  WindowState& ui = Ui();
  if (!ui.run || !ui.run->deletePending || ui.run->deletePrompted) return false;
  // Nobody is there to answer while the session ends: the files stay, and the log says so.
  if (ui.sessionEnding) {
    ui.run->deletePending = false;
    AppendDiagLog(L"Testdateien nicht gelöscht (Windows beendet die Sitzung).");
    return false;
  }
  TestState& run = *ui.run;
  run.deletePrompted = true;
  const size_t count = run.createdFiles.empty() ? 1 : run.createdFiles.size();
  const std::wstring question = DeletionQuestion(count);
  const int answer = AskTaskDialog(owner, Translate(L"box_delete_title"), question, TD_WARNING_ICON,
                                   {{IDYES, Translate(L"button_delete_files")}, {IDNO, Translate(L"button_keep_files")}},
                                   IDNO, IDNO);
  run.deletePending = false;
  if (answer == IDYES) {
    DeleteTestFilesAside();
    return true;
  }
  AppendDiagLog(L"Testdateien nicht gelöscht.");
  return false;
}

void FillLanguageChoices() {
  std::vector<std::wstring> names;
  for (int language = 0; language < kLanguageCount; ++language) names.push_back(LanguageName(language));
  FillChoices(kCtlLanguageBox, names, CurrentLanguage);
}

void LabelViewToggles() {
  const WindowState& ui = Ui();
  SetText(kCtlSettingsToggle, Translate(ui.settingsShown ? L"settings_hide" : L"settings_show"));
  SetText(kCtlMethodToggle, Translate(ui.methodDetailsShown ? L"hide_benchmark" : L"show_benchmark"));
}

void ApplyLanguage() {
  WindowState& ui = Ui();
  if (ui.main != nullptr) SetWindowTextW(ui.main, Translate(L"app_title").c_str());
  RelabelControls();
  LabelViewToggles();
  if (!TestRunning()) SetText(kCtlStatusLine, Translate(L"ready"));
  RelabelListColumns();
  FillLanguageChoices();
  FillProfileChoices(true);
  FillExportFormatChoices();
  if (!ui.savedResultFiles.empty()) RefreshSavedTests(SelectedSavedTest());
  RefreshDiagnosisWindow();
  // The drive rows' words (no name, connection, status) follow too; the selection stays.
  FillDriveList(GetSelectedDriveRoot());
  // The profile's take-over reason in the hint line is said again in the new language.
  if (ui.controlsLocked) {
    RefreshWorkerControl();
  } else {
    ApplyFieldStates();
  }
  FillResultList();
  UpdateSummaryText();
  RebuildMenuBar();
  RelabelTooltips();
}

void OnLanguageChosen(int index) {
  if (Ui().controlsLocked || index < 0 || index >= kLanguageCount) return;
  CurrentLanguage = index;
  ApplyLanguage();
  // The help menu opens the new language's files: they are there from now on.
  GenerateHelpFiles();
  SaveWindowSettings();
}

void RefreshSavedTests(const std::wstring& pathToSelect) {
  WindowState& ui = Ui();
  HWND box = Control(kCtlSavedTestsBox);
  if (box == nullptr) return;
  ui.savedResultFiles = ListSavedResultFiles();
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  // Drive, name, start and verdict; the file name is the box's tooltip.
  for (const std::wstring& path : ui.savedResultFiles) {
    const std::wstring title = SavedRunTitle(path, CurrentLanguage);
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, SavedResultSelection(ui.savedResultFiles, pathToSelect), 0);
  RelabelTooltips();
}

void FitSavedTestsDropDown() {
  HWND box = Control(kCtlSavedTestsBox);
  if (box == nullptr) return;
  HDC dc = GetDC(box);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  int widest = 0;
  const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(box, CB_GETLBTEXTLEN, i, 0))) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(wcslen(text.c_str())), &size);
    widest = std::max<int>(widest, size.cx);
  }
  SelectObject(dc, oldFont);
  ReleaseDC(box, dc);
  SendMessageW(box, CB_SETDROPPEDWIDTH, widest + ScaleToDpi(16, Ui().dpi) + GetSystemMetrics(SM_CXVSCROLL), 0);
}

std::wstring SelectedSavedTest() {
  const WindowState& ui = Ui();
  const int selection = ChoiceSelection(kCtlSavedTestsBox);
  return selection >= 0 && static_cast<size_t>(selection) < ui.savedResultFiles.size()
             ? ui.savedResultFiles[static_cast<size_t>(selection)]
             : std::wstring();
}

bool LoadResultsIntoWindow(const std::wstring& path) {
  std::vector<ResultRecord> records;
  RunDiagnosis diagnosis;
  if (!LoadResultsFile(path, &records, &diagnosis)) return false;
  WindowState& ui = Ui();
  ResultsFileHeader header;
  LoadResultsHeader(path, &header);  // a file without one keeps the defaults: no evidence, final
  const ExportContext context = ExportContextOf(records, header, &diagnosis);
  ui.currentHeader = context.header;
  ui.currentVerdict = context.verdict;
  ui.currentResults = std::move(records);
  ui.currentResultsPath = path;
  ui.currentDiagnosis = std::move(diagnosis);
  RefreshDiagnosisWindow();
  SortResults();
  FillResultList();
  UpdateSummaryText();
  return true;
}

void SaveWindowSettings() {
  WindowState& ui = Ui();
  // The settings file lies beside the program: on the drive under test it would take space the
  // run counted on and land where the run writes. It is written once the run has ended.
  if (ui.runOnProgramVolume && TestRunning()) {
    ui.settingsSaveDeferred = true;
    return;
  }
  ui.settingsSaveDeferred = false;
  WindowSnapshot snapshot;
  if (ui.main != nullptr && !IsIconic(ui.main)) {
    RECT r{};
    if (GetWindowRect(ui.main, &r)) {
      snapshot.hasOuterSize = true;
      // Never larger than the work area of the window's screen (a maximised window's frame
      // reaches past it), and in 96-DPI units, so the size means the same on every screen.
      MONITORINFO monitor{};
      monitor.cbSize = sizeof(monitor);
      int workWidth = 0, workHeight = 0;
      if (GetMonitorInfoW(MonitorFromWindow(ui.main, MONITOR_DEFAULTTONEAREST), &monitor)) {
        workWidth = monitor.rcWork.right - monitor.rcWork.left;
        workHeight = monitor.rcWork.bottom - monitor.rcWork.top;
      }
      const WindowSize saved = WindowSizeToSave(r.right - r.left, r.bottom - r.top, workWidth, workHeight, ui.dpi);
      snapshot.outerWidth = saved.width;
      snapshot.outerHeight = saved.height;
    }
  }
  ColumnLayout drives, results;
  if (Control(kCtlDriveList) != nullptr) {
    drives = ReadListLayout(kCtlDriveList);
    snapshot.driveColumns = &drives;
  }
  if (Control(kCtlResultList) != nullptr) {
    results = ReadListLayout(kCtlResultList);
    snapshot.resultColumns = &results;
  }
  SaveSettings(snapshot);
}

}  // namespace velkor
