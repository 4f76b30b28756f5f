#include "ui/command_table.h"

#include <shellapi.h>

#include "engine/run_config.h"
#include "results/results_database.h"
#include "ui/about_box.h"
#include "ui/commands.h"
#include "ui/diagnosis_window.h"
#include "ui/help_window.h"
#include "ui/layout_window.h"
#include "ui/menus.h"
#include "ui/report_window.h"
#include "ui/run_control.h"
#include "ui/tooltips.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

// A button click or a menu pick: both arrive with code 0.
bool Clicked(int code) { return code == BN_CLICKED; }
// The settings commands wait while a run holds the controls locked.
bool UnlockedClick(int code) { return Clicked(code) && !Ui().controlsLocked; }
bool UnlockedChoice(int code) { return code == CBN_SELCHANGE && !Ui().controlsLocked; }

// A view toggle flipped: its caption, the layout and the menu follow.
LRESULT ShowViewChange() {
  LabelViewToggles();
  LayoutMainWindow(Ui().main);
  UpdateMenuStates();
  return 0;
}

LRESULT OnHtmlHelp(HWND window) {
  OpenHtmlHelp(window);
  return 0;
}

LRESULT OnPdfHelp(HWND window) {
  OpenPdfHelp(window);
  return 0;
}

LRESULT OnAbout(HWND window) {
  ShowAboutBox(window);
  return 0;
}

LRESULT OnExit(HWND window) {
  SendMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

LRESULT OnStart(int code, bool verifyOnly) {
  if (Clicked(code) && !TestRunning()) StartTestCommand(verifyOnly);
  return 0;
}

LRESULT OnStop(int code) {
  if (Clicked(code)) StopTestCommand();
  return 0;
}

LRESULT OnPartial(int code) {
  if (Clicked(code)) UpdatePartialControls(IsChecked(kCtlPartialCheck));
  return 0;
}

LRESULT OnExplorer(int code) {
  if (Clicked(code)) OpenSelectedDriveInExplorer();
  return 0;
}

LRESULT OnSettingsToggle(int code) {
  if (!UnlockedClick(code)) return 0;
  WindowState& ui = Ui();
  ui.settingsShown = !ui.settingsShown;
  if (ui.settingsShown) ui.settingsEverShown = true;
  UpdateSelectedDriveLabel();
  return ShowViewChange();
}

LRESULT OnMethodToggle(int code) {
  if (!UnlockedClick(code)) return 0;
  Ui().methodDetailsShown = !Ui().methodDetailsShown;
  return ShowViewChange();
}

LRESULT OnProfileChosen(int code) {
  if (!UnlockedChoice(code)) return 0;
  ApplyProfileDefaults(ProfileOfSelection(ChoiceSelection(kCtlProfileBox)));
  ApplyFieldStates();
  return 0;
}

LRESULT OnLanguageBox(int code) {
  if (UnlockedChoice(code)) OnLanguageChosen(ChoiceSelection(kCtlLanguageBox));
  return 0;
}

LRESULT OnSavedTestChosen(int code) {
  if (code == CBN_DROPDOWN) FitSavedTestsDropDown();
  if (!UnlockedChoice(code)) return 0;
  const WindowState& ui = Ui();
  const int selection = ChoiceSelection(kCtlSavedTestsBox);
  if (selection >= 0 && static_cast<size_t>(selection) < ui.savedResultFiles.size()) {
    LoadResultsIntoWindow(ui.savedResultFiles[static_cast<size_t>(selection)]);
  }
  RelabelTooltips();  // the box's tooltip names the chosen file
  return 0;
}

LRESULT OnExport(HWND window, int code) {
  if (UnlockedClick(code)) ExportResults(window);
  return 0;
}

LRESULT OnOpenResults(HWND window, int code) {
  if (UnlockedClick(code)) ShellExecuteW(window, L"open", GetResultsFolder().c_str(), nullptr, nullptr, SW_SHOW);
  return 0;
}

LRESULT OnDiagnosisView(HWND window, int code) {
  if (Clicked(code) && !TestRunning()) OpenDiagnosisWindow(window);
  return 0;
}

LRESULT OnWorkersEdited(int code) {
  if (code == EN_CHANGE) RefreshWorkerControl();
  return 0;
}

LRESULT OnSizeEdited(int code) {
  if (code == EN_CHANGE) UpdateSelectedDriveLabel();
  return 0;
}

}  // namespace

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  // A key of the accelerator table (code 1, no control) is the menu item it stands for.
  const bool key = HIWORD(wParam) == 1 && lParam == 0;
  const int code = key ? BN_CLICKED : HIWORD(wParam);
  switch (LOWORD(wParam)) {
    case kIdHelpHtml: return OnHtmlHelp(window);
    case kIdHelpPdf: return OnPdfHelp(window);
    case kIdAbout: return OnAbout(window);
    case kIdExit: return OnExit(window);
    case kIdStart: return OnStart(code, false);
    case kIdVerifyOnly: return OnStart(code, true);
    case kIdStop: return OnStop(code);
    case kIdPartial: return OnPartial(code);
    case kIdExplorer: return OnExplorer(code);
    case kIdSettingsToggle: return OnSettingsToggle(code);
    case kIdMethodToggle: return OnMethodToggle(code);
    case kIdProfile: return OnProfileChosen(code);
    case kIdLanguage: return OnLanguageBox(code);
    case kIdSavedTests: return OnSavedTestChosen(code);
    case kIdExport: return OnExport(window, code);
    case kIdOpenResults: return OnOpenResults(window, code);
    case kIdWorkers: return OnWorkersEdited(code);
    case kIdTestSize:
    case kIdReserve: return OnSizeEdited(code);
    case kIdDiagnosisView: return OnDiagnosisView(window, code);
    default: return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  }
}

}  // namespace velkor
