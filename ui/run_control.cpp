#include "ui/run_control.h"

#include <commctrl.h>

#include <memory>
#include <thread>

#include "common/diag_log.h"
#include "drives/enumerate.h"
#include "engine/own_files.h"
#include "engine/progress_text.h"
#include "engine/run_outcome.h"
#include "engine/run_thread.h"
#include "engine/start_rules.h"
#include "engine/target_guard.h"
#include "engine/worker_limits.h"
#include "platform/volumes.h"
#include "ui/commands.h"
#include "ui/diagnosis_window.h"
#include "ui/layout_window.h"
#include "ui/lists.h"
#include "ui/report_window.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"

namespace velkor {
namespace {

// The settings fields as the user left them.
StartRequest ReadStartRequest(bool verifyOnly) {
  const WindowState& ui = Ui();
  StartRequest r;
  r.verifyOnly = verifyOnly;
  r.mode = ui.settingsShown        ? StartMode::kSettings
           : ui.settingsEverShown ? StartMode::kCompactFullTest
                                  : StartMode::kCompactQuorvel;
  r.testSizeMb = ReadNumberField(WindowText(Control(kCtlTestSizeField)));
  r.blockKb = ReadNumberField(WindowText(Control(kCtlBlockField)));
  r.workers = ReadNumberField(WindowText(Control(kCtlWorkerField)));
  r.reserveMb = ReadNumberField(WindowText(Control(kCtlReserveField)));
  r.testPoints = ReadNumberField(WindowText(Control(kCtlTestPointsField)));
  r.methodTest = IsChecked(kCtlMethodCheck);
  r.useFastest = IsChecked(kCtlFastestCheck);
  r.randomTestPoints = IsChecked(kCtlRandomPointsCheck);
  HWND profile = Control(kCtlProfileBox);
  r.profile = ProfileOfSelection(profile != nullptr ? SendMessageW(profile, CB_GETCURSEL, 0, 0) : -1);
  r.partial = IsChecked(kCtlPartialCheck);
  r.startMb = ReadNumberField(WindowText(Control(kCtlPartialStartField)));
  r.rangeMb = ReadNumberField(WindowText(Control(kCtlPartialRangeField)));
  r.deleteAfter = IsChecked(kCtlDeleteCheck);
  return r;
}

void Warn(const wchar_t* text, const wchar_t* title) {
  MessageBoxW(Ui().main, text, title, MB_OK | MB_ICONWARNING);
}

// A warning question whose default is No; true only for Yes. No logs declinedLog.
bool Confirm(const std::wstring& question, const wchar_t* title, const wchar_t* declinedLog) {
  if (MessageBoxW(Ui().main, question.c_str(), title, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) return true;
  AppendDiagLog(declinedLog);
  return false;
}

// The box that tells the user the target has gone.
void ShowTargetGone(HWND main) {
  Ui().run->targetGoneShown = true;
  MessageBoxW(main, L"Das Ziellaufwerk wurde während des Tests entfernt oder geändert. Der Test wird gestoppt.",
              L"Laufwerkswechsel", MB_OK | MB_ICONWARNING);
}

// The settings controls, Start and Stop back to idle once a run is over.
void UnlockAfterRun() {
  KillTimer(Ui().main, kProgressTimer);
  SetControlsEnabled(true);
  EnableControl(kCtlStartButton, true);
  EnableControl(kCtlStopButton, false);
}

// The run noticed by itself that its target leads elsewhere (a letter given to another volume
// leaves the drive mask as it was): the user hears of it once.
void TellTargetGone() {
  WindowState& ui = Ui();
  if (ui.run && ui.run->targetGone.load() && !ui.run->targetGoneShown) ShowTargetGone(ui.main);
}

}  // namespace

void StartTestCommand(bool verifyOnly) {
  WindowState& ui = Ui();
  if (TestRunning()) return;
  const DriveInfo* selected = GetSelectedDrive();
  const uint32_t cpus = CpuCount();
  const StartRequest request = ReadStartRequest(verifyOnly);
  const StartPlan plan = PlanStart(request, selected, cpus);
  if (plan.refusal == StartRefusal::kWriteProtected) {
    Warn(kWriteProtectedText, L"Schreibschutz");
    return;
  }
  if (plan.refusal != StartRefusal::kNone) {
    Warn(kInvalidInputText, L"Eingabe prüfen");
    return;
  }
  if (plan.corrections.workersClamped) {
    SetText(kCtlWorkerField, std::to_wstring(plan.corrections.workers));
    RefreshWorkerControl();
  }
  if (plan.corrections.testPointsClamped) SetText(kCtlTestPointsField, std::to_wstring(plan.corrections.testPoints));
  if (request.deleteAfter) {
    SetText(kCtlSelectedDrive, L"Löschen ist aktiviert: Am Ende kommt eine Sicherheitsabfrage für die erzeugte Testdatei.");
  }

  if (plan.confirmSystemVolume && !Confirm(SystemVolumeQuestion(plan), kSystemVolumeTitle, kSystemVolumeDeclinedLog)) {
    return;
  }
  if (plan.confirmProgramVolume &&
      !Confirm(ProgramVolumeQuestion(*selected), kProgramVolumeTitle, kProgramVolumeDeclinedLog)) {
    return;
  }
  if (plan.confirmNonEmpty &&
      !Confirm(NonEmptyTargetQuestion(*selected), L"Zielpartition nicht leer", kNonEmptyDeclinedLog)) {
    return;
  }
  // From here on this run's log and results stay off the drive under test.
  const std::wstring ownFilesLine = plan.ownFilesOnTarget ? MoveOwnFilesToUserFolder(true) : std::wstring();

  const StartModeEffects& effects = plan.effects;
  if (effects.quorvelSized) {
    SetText(kCtlTestSizeField, std::to_wstring(effects.quorvelSize / 1048576));
    SetText(kCtlReserveField, L"0");
    SetChecked(kCtlPartialCheck, false);
    UpdatePartialControls(false);
    SetChecked(kCtlDeleteCheck, true);
  }
  for (const std::wstring& line : effects.logLines) AppendDiagLog(line);
  if (plan.highWorkerWarning) Warn(kHighWorkerWarning, L"Warnung vor Systemverlangsamung");
  const TestConfig& config = plan.config;

  ui.run = NewRunState(config);
  SetControlsEnabled(false);
  EnableControl(kCtlStartButton, false);
  EnableControl(kCtlStopButton, true);
  SetText(kCtlLogView, L"");
  ui.currentResults.clear();
  ui.currentDiagnosis = RunDiagnosis{};
  RefreshDiagnosisWindow();
  FillResultList();
  UpdateSummaryText();
  if (HWND bar = Control(kCtlProgressBar)) SendMessageW(bar, PBM_SETPOS, 0, 0);
  PostStatusText(verifyOnly ? L"Nur prüfen gedrückt: Prüfung wird vorbereitet." : L"Start gedrückt: Test wird vorbereitet.");
  AppendDiagLog(verifyOnly ? L"Bedienung: Nur prüfen gedrückt." : L"Bedienung: Start gedrückt.");
  if (!ownFilesLine.empty()) AppendDiagLog(ownFilesLine);
  std::thread(RunTest, config, ui.run).detach();
  SetTimer(ui.main, kProgressTimer, kProgressPeriodMs, nullptr);
}

void StopTestCommand() {
  if (!TestRunning()) return;
  RequestStop(*Ui().run, StopReason::kUser);
  AppendDiagLog(kStopRequestedLog);
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
  if (!view.keepStatus) SetText(kCtlStatusLine, view.statusText);
}

void OnProgressTimer() {
  WindowState& ui = Ui();
  if (!ui.run) return;
  UpdateProgress();
  if (platform::LogicalDriveMask() != LastDriveMask) CheckDriveChange(ui.main);
  TellTargetGone();
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
  TellTargetGone();
  ui.currentResults = std::move(outcome->results);
  ui.currentResultsPath = outcome->databasePath;
  ui.currentDiagnosis = std::move(outcome->diagnosis);
  RefreshDiagnosisWindow();
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
  // Closing the boxes gave a control the focus, and with it its hint: the summary again.
  UpdateProgress();
  LayoutMainWindow(ui.main);
}

void CheckDriveChange(HWND main) {
  WindowState& ui = Ui();
  AppendDiagLog(L"Laufwerkswechsel erkannt. Liste wird aktualisiert.");
  RefreshDriveList();
  if (!ui.run || !ui.run->running.load() || ui.run->driveRoot.empty()) return;
  for (const DriveInfo& drive : DriveTable) {
    if (drive.root == ui.run->driveRoot) return;
  }
  StopForTargetGone(*ui.run);
  ShowTargetGone(main);
}

}  // namespace velkor
