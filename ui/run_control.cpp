#include "ui/run_control.h"

#include <commctrl.h>

#include <memory>
#include <thread>

#include "common/diag_log.h"
#include "drives/enumerate.h"
#include "engine/progress_text.h"
#include "engine/run_outcome.h"
#include "engine/run_thread.h"
#include "engine/start_rules.h"
#include "engine/worker_limits.h"
#include "platform/volumes.h"
#include "ui/commands.h"
#include "ui/layout_window.h"
#include "ui/lists.h"
#include "ui/report_window.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"

namespace velkor {
namespace {

StartForm ReadStartForm() {
  StartForm form;
  form.testSizeMb = WindowText(Control(kCtlTestSizeField));
  form.blockKb = WindowText(Control(kCtlBlockField));
  form.workers = WindowText(Control(kCtlWorkerField));
  form.reserveMb = WindowText(Control(kCtlReserveField));
  form.testPoints = WindowText(Control(kCtlTestPointsField));
  form.methodTest = IsChecked(kCtlMethodCheck);
  form.useFastest = IsChecked(kCtlFastestCheck);
  form.randomTestPoints = IsChecked(kCtlRandomPointsCheck);
  HWND profile = Control(kCtlProfileBox);
  form.profileSelection = profile != nullptr ? static_cast<int>(SendMessageW(profile, CB_GETCURSEL, 0, 0)) : 2;
  form.partial = IsChecked(kCtlPartialCheck);
  form.startMb = WindowText(Control(kCtlPartialStartField));
  form.rangeMb = WindowText(Control(kCtlPartialRangeField));
  form.deleteAfter = IsChecked(kCtlDeleteCheck);
  return form;
}

void Warn(const wchar_t* text, const wchar_t* title) {
  MessageBoxW(Ui().main, text, title, MB_OK | MB_ICONWARNING);
}

// The settings controls, Start and Stop back to idle once a run is over.
void UnlockAfterRun() {
  KillTimer(Ui().main, kProgressTimer);
  SetControlsEnabled(true);
  EnableControl(kCtlStartButton, true);
  EnableControl(kCtlStopButton, false);
}

}  // namespace

void StartTestCommand(bool verifyOnly) {
  WindowState& ui = Ui();
  if (TestRunning()) return;
  const DriveInfo* selected = GetSelectedDrive();
  if (!verifyOnly && selected != nullptr && selected->writeProtected) {
    Warn(L"Das ausgewählte Laufwerk ist schreibgeschützt.", L"Schreibschutz");
    return;
  }
  const uint32_t cpus = CpuCount();
  TestConfig config;
  StartCorrections corrections;
  if (!BuildTestConfigFromForm(ReadStartForm(), selected, verifyOnly, cpus, &config, &corrections)) {
    Warn(L"Ungültige Eingabe oder kein beschreibbares Laufwerk ausgewählt.", L"Eingabe prüfen");
    return;
  }
  if (corrections.workersClamped) {
    SetText(kCtlWorkerField, std::to_wstring(corrections.workers));
    RefreshWorkerControl();
  }
  if (corrections.testPointsClamped) SetText(kCtlTestPointsField, std::to_wstring(corrections.testPoints));
  if (config.deleteAtEnd) {
    SetText(kCtlSelectedDrive, L"Löschen ist aktiviert: Am Ende kommt eine Sicherheitsabfrage für die erzeugte Testdatei.");
  }
  const DriveInfo drive = *selected;  // the selection was checked by BuildTestConfigFromForm

  if (NeedsNonEmptyConfirmation(drive, verifyOnly)) {
    const std::wstring question = NonEmptyTargetQuestion(drive);
    const int answer = MessageBoxW(ui.main, question.c_str(), L"Zielpartition nicht leer",
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer != IDYES) {
      AppendDiagLog(L"Start abgebrochen: Zielpartition war nicht mindestens 99% frei.");
      return;
    }
  }

  StartModeEffects effects;
  ApplyStartModes(config, drive, verifyOnly, ui.settingsShown, ui.settingsEverShown, &effects);
  if (effects.quorvelSized) {
    SetText(kCtlTestSizeField, std::to_wstring(effects.quorvelSize / 1048576));
    SetText(kCtlReserveField, L"0");
    SetChecked(kCtlPartialCheck, false);
    UpdatePartialControls(false);
    SetChecked(kCtlDeleteCheck, true);
  }
  for (const std::wstring& line : effects.logLines) AppendDiagLog(line);
  if (IsHighWorkerCount(config.workerCount, cpus)) Warn(kHighWorkerWarning, L"Warnung vor Systemverlangsamung");

  ui.run = std::make_shared<TestState>();
  ui.run->running = true;
  ui.run->driveRoot = config.driveRoot;  // read by the drive change watch while the run goes on
  ui.run->filePath = config.filePath;
  SetControlsEnabled(false);
  EnableControl(kCtlStartButton, false);
  EnableControl(kCtlStopButton, true);
  SetText(kCtlLogView, L"");
  ui.currentResults.clear();
  FillResultList();
  UpdateSummaryText();
  if (HWND bar = Control(kCtlProgressBar)) SendMessageW(bar, PBM_SETPOS, 0, 0);
  PostStatusText(verifyOnly ? L"Nur prüfen gedrückt: Prüfung wird vorbereitet." : L"Start gedrückt: Test wird vorbereitet.");
  AppendDiagLog(verifyOnly ? L"Bedienung: Nur prüfen gedrückt." : L"Bedienung: Start gedrückt.");
  std::thread(RunTest, config, ui.run).detach();
  SetTimer(ui.main, kProgressTimer, kProgressPeriodMs, nullptr);
}

void StopTestCommand() {
  if (!TestRunning()) return;
  Ui().run->stopRequested = true;
  AppendDiagLog(L"Stop-Anforderung gesendet.");
}

void UpdateProgress() {
  WindowState& ui = Ui();
  HWND bar = Control(kCtlProgressBar);
  if (!ui.run) {
    if (bar != nullptr) SendMessageW(bar, PBM_SETPOS, 0, 0);
    return;
  }
  const ProgressView view = BuildProgressView(TakeProgressSnapshot(*ui.run));
  if (bar != nullptr) SendMessageW(bar, PBM_SETPOS, view.barPosition, 0);
  SetText(kCtlStatusLine, view.statusText);
}

void OnProgressTimer() {
  WindowState& ui = Ui();
  if (!ui.run) return;
  UpdateProgress();
  if (platform::LogicalDriveMask() != LastDriveMask) CheckDriveChange(ui.main);
  if (ui.run->running.load()) return;
  UnlockAfterRun();
  OfferTestFileDeletion(ui.main);
  UpdateProgress();
}

void OnTestDone(RunOutcome* raw) {
  std::unique_ptr<RunOutcome> outcome(raw);
  if (!outcome) return;
  WindowState& ui = Ui();
  if (ui.run) ui.run->running = false;
  UnlockAfterRun();
  ui.currentResults = std::move(outcome->results);
  ui.currentResultsPath = outcome->databasePath;
  ui.resultSortColumn = 7;
  ui.resultSortAscending = false;
  SortResults();
  FillResultList();
  UpdateSummaryText();
  RefreshSavedTests(ui.currentResultsPath);
  // The timer is gone now: show the end summary here, or a short run would leave the bar and
  // status line at their last tick.
  UpdateProgress();
  ShowResultReport(ui.main, ui.currentResults);
  OfferTestFileDeletion(ui.main);
  LayoutMainWindow(ui.main);
}

void CheckDriveChange(HWND main) {
  WindowState& ui = Ui();
  const std::wstring selected = GetSelectedDriveRoot();
  AppendDiagLog(L"Laufwerkswechsel erkannt. Liste wird aktualisiert.");
  EnumerateDrives();
  FillDriveList(selected);
  if (!ui.run || !ui.run->running.load() || ui.run->driveRoot.empty()) return;
  for (const DriveInfo& drive : DriveTable) {
    if (drive.root == ui.run->driveRoot) return;
  }
  ui.run->stopRequested = true;
  AppendDiagLog(L"Warnung: Das Ziellaufwerk " + ui.run->driveRoot +
                L" wurde während des Tests entfernt oder geändert. Test wird gestoppt.");
  MessageBoxW(main, L"Das Ziellaufwerk wurde während des Tests entfernt oder geändert. Der Test wird gestoppt.",
              L"Laufwerkswechsel", MB_OK | MB_ICONWARNING);
}

}  // namespace velkor
