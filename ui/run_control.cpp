#include "ui/run_control.h"

#include <commctrl.h>

#include <memory>
#include <thread>

#include "common/diag_log.h"
#include "common/localization.h"
#include "drives/enumerate.h"
#include "engine/own_files.h"
#include "engine/progress_text.h"
#include "engine/run_files.h"
#include "engine/run_lock.h"
#include "engine/run_outcome.h"
#include "engine/run_thread.h"
#include "engine/start_rules.h"
#include "engine/target_guard.h"
#include "engine/worker_limits.h"
#include "platform/system.h"
#include "platform/volumes.h"
#include "ui/commands.h"
#include "ui/device_work.h"
#include "ui/diagnosis_window.h"
#include "ui/drive_watch.h"
#include "ui/layout_window.h"
#include "ui/main_window.h"
#include "ui/lists.h"
#include "ui/report_window.h"
#include "ui/session_end.h"
#include "ui/task_dialog.h"
#include "ui/taskbar.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/field_checks.h"

namespace velkor {
namespace {

// The settings fields as the user left them.
StartRequest ReadStartRequest(bool verifyOnly) {
  const WindowState& ui = Ui();
  StartRequest r;
  r.verifyOnly = verifyOnly;
  r.mode = StartModeOfWindow(ui.settingsShown, ui.settingsEverShown);
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

// The number fields as typed, for CheckStartFields.
StartFieldTexts ReadStartFields() {
  StartFieldTexts f;
  f.testSize = WindowText(Control(kCtlTestSizeField));
  f.blockSize = WindowText(Control(kCtlBlockField));
  f.workers = WindowText(Control(kCtlWorkerField));
  f.reserve = WindowText(Control(kCtlReserveField));
  f.testPoints = WindowText(Control(kCtlTestPointsField));
  f.partial = IsChecked(kCtlPartialCheck);
  f.partialStart = WindowText(Control(kCtlPartialStartField));
  f.partialRange = WindowText(Control(kCtlPartialRangeField));
  return f;
}

// A start that cannot go ahead as entered says why: no drive, or which field holds what, and
// what it allows. The field gets the focus where the user can see it.
bool RefuseUnreadableStart(const DriveInfo* selected, uint32_t cpus) {
  const std::wstring title = Translate(L"box_invalid_title");
  if (selected == nullptr) {
    MessageBoxW(Ui().main, Translate(L"box_no_drive").c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
    return true;
  }
  const FieldRefusal refusal = CheckStartFields(ReadStartFields(), cpus, CurrentLanguage);
  if (refusal.control == 0) return false;
  MessageBoxW(Ui().main, refusal.text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
  HWND field = Control(refusal.control);
  if (field != nullptr && IsWindowVisible(field) && IsWindowEnabled(field)) {
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
  }
  return true;
}

constexpr wchar_t kDriveGoneText[] =
    L"Das ausgewählte Laufwerk ist nicht mehr erreichbar. Bitte das Laufwerk in der Liste neu wählen.";

// A warning box; text and title are German texts of the table, shown in the current language.
void Warn(const wchar_t* text, const wchar_t* title) {
  MessageBoxW(Ui().main, Localize(text).c_str(), Localize(title).c_str(), MB_OK | MB_ICONWARNING);
}

// A warning question whose default is Cancel; true only for the button that goes on (its text
// says what it does). Cancel logs declinedLog (German).
bool Confirm(const std::wstring& question, const wchar_t* titleKey, const wchar_t* goOnKey, const wchar_t* declinedLog) {
  if (AskTaskDialog(Ui().main, Translate(titleKey), question, TD_WARNING_ICON,
                    {{IDYES, Translate(goOnKey)}, {IDNO, Translate(L"button_cancel")}}, IDNO, IDNO) == IDYES) {
    return true;
  }
  AppendDiagLog(declinedLog);
  return false;
}

// The box that tells the user the target has gone.
void ShowTargetGone(HWND main) {
  Ui().run->targetGoneShown = true;
  MessageBoxW(main, Translate(L"box_target_gone").c_str(), Translate(L"box_target_gone_title").c_str(),
              MB_OK | MB_ICONWARNING);
}

// The settings controls, Start and Stop back to idle once a run is over; the system may sleep again.
void UnlockAfterRun() {
  WindowState& ui = Ui();
  KillTimer(ui.main, kProgressTimer);
  // A deletion the progress timer began keeps the window locked until it is done.
  if (!DeletingTestFiles()) {
    SetControlsEnabled(true);
    EnableControl(kCtlStartButton, true);
  }
  EnableControl(kCtlStopButton, false);
  platform::KeepSystemAwake(false);
  AllowSessionEnd(ui.main);
}

// The run filled the drive and its files were kept or deleted: the table shows the drives as
// they are now.
void RefreshDrivesAfterRun() {
  ReadSelectedDriveAside(DriveReadFor::kAfterRun);
  RescanDrives(Ui().main);
}

// While Start waits for its drive read, the drive stays picked and Start cannot be pressed again.
void ShowStartReading(bool reading) {
  for (int n : {kCtlDriveList, kCtlStartButton, kCtlVerifyOnlyButton}) EnableControl(n, !reading);
  HWND focus = GetFocus();
  if (reading && (focus == nullptr || !IsWindowEnabled(focus))) SetFocus(Ui().main);
}

// Once per run, when its end is seen: the taskbar button tells a user in another window. A run
// that ended before its outcome (in its preflight) has no verdict: red only for errors it counted.
void ShowRunEnd(const Verdict* verdict) {
  WindowState& ui = Ui();
  if (ui.runStartMs == 0) return;
  const VerdictKind kind = verdict != nullptr ? verdict->kind
                           : ui.runErrorsSeen ? VerdictKind::kFailed
                                              : VerdictKind::kOk;
  ShowRunEndOnTaskbar(ui.main, kind, static_cast<int64_t>((GetTickCount64() - ui.runStartMs) / 1000));
  ui.runStartMs = 0;
}

// A run that ended before its first job says why in a box, not only in the log: the status text
// in the window's language and the log line (the log is German) with its figures.
void ShowStartFailure(HWND main) {
  WindowState& ui = Ui();
  if (!ui.run || !ui.run->preflightFailed.load() || ui.run->failureShown || ui.closing) return;
  ui.run->failureShown = true;
  const TestState& run = *ui.run;
  if (run.failureStatus.empty() && run.failureLine.empty()) return;
  std::wstring text = run.failureStatus.empty() ? Translate(L"box_start_failed") : Localize(run.failureStatus);
  // The log line is German: another language's box shows it where the table translates it.
  const std::wstring line = Localize(run.failureLine);
  if (!line.empty() && (CurrentLanguage == kLanguageGerman || line != run.failureLine)) text += L"\r\n\r\n" + line;
  MessageBoxW(main, text.c_str(), Localize(kStartFailedTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void TellTargetGone() {
  WindowState& ui = Ui();
  if (!ui.run || ui.run->targetGoneShown) return;
  if (ui.run->targetGone.load() || CurrentStopReason(*ui.run) == StopReason::kDriveGone) ShowTargetGone(ui.main);
}

namespace {

// The start once its drive has been read (read null: no drive selected).
void BeginStart(bool verifyOnly, const DriveInfo* read) {
  WindowState& ui = Ui();
  // A copy: a drive scan that arrives while a question is open replaces the table's rows.
  const DriveInfo selectedRow = read != nullptr ? *read : DriveInfo{};
  const DriveInfo* selected = read != nullptr ? &selectedRow : nullptr;
  const uint32_t cpus = CpuCount();
  if (RefuseUnreadableStart(selected, cpus)) return;
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

  if (plan.confirmSystemVolume &&
      !Confirm(SystemVolumeQuestion(plan, CurrentLanguage), L"box_system_title", L"button_test_system",
               kSystemVolumeDeclinedLog)) {
    return;
  }
  if (plan.confirmProgramVolume &&
      !Confirm(ProgramVolumeQuestion(*selected, CurrentLanguage), L"box_program_title", L"button_continue",
               kProgramVolumeDeclinedLog)) {
    return;
  }
  if (plan.confirmNonEmpty &&
      !Confirm(NonEmptyTargetQuestion(*selected, CurrentLanguage), L"box_non_empty_title", L"button_start_test",
               kNonEmptyDeclinedLog)) {
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

  std::shared_ptr<TestState> state = NewRunState(config);
  if (!LockRunTarget(*state)) {
    AppendDiagLog(std::wstring(L"Start abgelehnt: ") + kDriveBusyText);
    Warn(kDriveBusyText, kDriveBusyTitle);
    return;
  }
  ui.run = std::move(state);
  ui.runOnProgramVolume = plan.ownFilesOnTarget;
  SetControlsEnabled(false);
  EnableControl(kCtlStartButton, false);
  EnableControl(kCtlStopButton, true);
  // The focused control may just have been disabled: the window keeps the keys, so Esc stops.
  HWND focus = GetFocus();
  if (focus == nullptr || !IsWindowEnabled(focus)) SetFocus(ui.main);
  // A sleeping machine would suspend the drive under test.
  platform::KeepSystemAwake(true);
  BlockSessionEnd(ui.main);
  ui.runStartMs = GetTickCount64();
  ui.runErrorsSeen = false;
  SetText(kCtlLogView, L"");
  ui.currentResults.clear();
  ui.currentDiagnosis = RunDiagnosis{};
  ui.currentHeader = ResultsFileHeader{};
  ui.currentVerdict = Verdict{};
  ui.runOutcomeSeen = false;
  RefreshDiagnosisWindow();
  FillResultList();
  UpdateSummaryText();
  // The target line keeps naming the drive under test; the summary has room until the run ends.
  if (config.deleteAtEnd && !config.verifyOnly) SetText(kCtlSummary, Translate(L"status_delete_active"));
  if (HWND bar = Control(kCtlProgressBar)) SendMessageW(bar, PBM_SETPOS, 0, 0);
  PostStatusText(Translate(verifyOnly ? L"status_verify_pressed" : L"status_start_pressed"));
  AppendDiagLog(verifyOnly ? L"Bedienung: Nur prüfen gedrückt." : L"Bedienung: Start gedrückt.");
  if (!ownFilesLine.empty()) AppendDiagLog(ownFilesLine);
  std::thread(RunTest, config, ui.run).detach();
  SetTimer(ui.main, kProgressTimer, kProgressPeriodMs, nullptr);
}

}  // namespace

void StartTestCommand(bool verifyOnly) {
  WindowState& ui = Ui();
  if (TestRunning() || ui.startReadPending || ui.deletionRequest != 0) return;
  // Sized and asked from the drive as it is now: files may have come or gone since the last scan.
  // A slow drive answers on a worker; the window answers meanwhile.
  if (!ReadSelectedDriveAside(DriveReadFor::kStart)) {
    BeginStart(verifyOnly, nullptr);
    return;
  }
  ui.startReadPending = true;
  ui.startVerifyOnly = verifyOnly;
  ShowStartReading(true);
  SetText(kCtlStatusLine, FormatText(L"status_reading_drive", {GetSelectedDriveRoot()}));
}

void ContinueStart(const DriveInfo* read) {
  WindowState& ui = Ui();
  if (!ui.startReadPending) return;
  ui.startReadPending = false;
  ShowStartReading(false);
  SetText(kCtlStatusLine, Translate(L"ready"));
  if (read == nullptr) {
    Warn(kDriveGoneText, L"Laufwerk nicht erreichbar");
    return;
  }
  BeginStart(ui.startVerifyOnly, read);
}

bool StartPending() { return Ui().startReadPending; }

void DeleteTestFilesAside() {
  WindowState& ui = Ui();
  if (!ui.run) return;
  // Nothing may race the deletion: no start, no setting, no drive picked meanwhile.
  ui.deletionRequest = NextDeviceRequest();
  SetControlsEnabled(false);
  EnableControl(kCtlStartButton, false);
  EnableControl(kCtlStopButton, false);
  HWND focus = GetFocus();
  if (focus == nullptr || !IsWindowEnabled(focus)) SetFocus(ui.main);
  SetText(kCtlStatusLine, Translate(L"status_deleting_files"));
  auto done = std::make_unique<FilesDeleted>();
  done->window = ui.main;
  done->request = ui.deletionRequest;
  RunAside([run = ui.run, done = std::move(done)]() mutable {
    DeleteRunTestFiles(*run);
    PostToWindow(WM_APP_FILESDELETED, std::move(done));
  });
}

bool DeletingTestFiles() { return Ui().deletionRequest != 0; }

void OnTestFilesDeleted(FilesDeleted* raw) {
  std::unique_ptr<FilesDeleted> done(raw);
  WindowState& ui = Ui();
  if (!done || done->window != ui.main || done->request != ui.deletionRequest) return;
  ui.deletionRequest = 0;
  SetControlsEnabled(true);
  EnableControl(kCtlStartButton, true);
  if (ui.closing) return;  // the window waited for this to close
  RefreshDrivesAfterRun();
  UpdateProgress();
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
    ShowTaskbarProgress(ui.main, TaskbarProgress{});
    return;
  }
  // The end line of a run whose outcome came shows its verdict.
  const Verdict* verdict = ui.runOutcomeSeen ? &ui.currentVerdict : nullptr;
  const ProgressView view = BuildProgressView(TakeProgressSnapshot(*ui.run), CurrentLanguage, verdict);
  if (bar != nullptr) SendMessageW(bar, PBM_SETPOS, view.barPosition, 0);
  if (!view.keepStatus && !DeletingTestFiles()) {
    SetText(kCtlStatusLine, ui.closing && ui.run->running.load() ? Translate(L"status_closing") : view.statusText);
  }
  if (!ui.run->running.load()) return;  // the run's end sets the button (ShowRunEnd)
  ui.runErrorsSeen = ui.runErrorsSeen || ui.run->errorCount.load() > 0;
  ShowTaskbarProgress(ui.main, TaskbarProgressFor(true, static_cast<int>(view.barPosition), ui.runErrorsSeen));
}

void OnProgressTimer() {
  WindowState& ui = Ui();
  if (!ui.run) return;
  UpdateProgress();
  if (platform::LogicalDriveMask() != LastDriveMask && !DriveScanPending()) CheckDriveChange(ui.main);
  TellTargetGone();
  if (ui.run->running.load()) return;
  UnlockAfterRun();
  ShowStartFailure(ui.main);
  if (!OfferTestFileDeletion(ui.main) && !DeletingTestFiles()) {
    RefreshDrivesAfterRun();
    UpdateProgress();
  }
  ShowRunEnd(nullptr);
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
  ui.currentHeader = std::move(outcome->header);
  ui.currentVerdict = outcome->verdict;
  ui.runOutcomeSeen = true;
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
  ShowRunEnd(&ui.currentVerdict);
  // A result that was not saved is no result to rely on later: the user hears it before the report.
  if (!outcome->resultsSaved && !ui.closing) {
    const std::wstring text = Translate(L"box_results_not_saved") + L"\r\n\r\n" + outcome->resultsFailureLine;
    MessageBoxW(ui.main, text.c_str(), Translate(L"box_results_not_saved_title").c_str(), MB_OK | MB_ICONERROR);
  }
  // A window that closes after the run skips the report; the results file holds it.
  if (!ui.closing) ShowResultReport(ui.main, ui.currentResults);
  // A deletion says so in the status line and reads the drives once it is done.
  if (!OfferTestFileDeletion(ui.main) && !DeletingTestFiles()) {
    RefreshDrivesAfterRun();
    // Closing the boxes gave a control the focus, and with it its hint: the summary again.
    UpdateProgress();
  }
  LayoutMainWindow(ui.main);
  if (ui.settingsSaveDeferred) SaveWindowSettings();
}


}  // namespace velkor
