// The main window's state, owned by the user-interface thread for the life of the process.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/run_config.h"
#include "results/diagnosis.h"
#include "results/result_record.h"
#include "results/results_database.h"
#include "results/verdict.h"
#include "view/control_numbers.h"
#include "view/taskbar_state.h"

namespace velkor {

// The messages other threads post to the main window; lParam carries a heap object whose
// ownership passes with the post.
inline constexpr UINT WM_APP_LOGLINE = WM_APP + 1;  // std::wstring*
inline constexpr UINT WM_APP_STATUS = WM_APP + 2;   // std::wstring*
inline constexpr UINT WM_APP_TESTDONE = WM_APP + 3; // RunOutcome*
inline constexpr UINT WM_APP_DRIVES = WM_APP + 4;   // DriveScan* (ui/drive_watch.h), from a scan thread
inline constexpr UINT WM_APP_DRIVEREAD = WM_APP + 5;     // DriveRead* (ui/device_work.h)
inline constexpr UINT WM_APP_FILESDELETED = WM_APP + 6;  // FilesDeleted* (ui/device_work.h)

// The progress timer's id and period: the progress bar and status line follow a run once a second.
inline constexpr UINT_PTR kProgressTimer = 1;
inline constexpr UINT kProgressPeriodMs = 1000;

struct WindowState {
  HWND main = nullptr;  // set first thing in WM_CREATE; test threads post to it
  HWND controls[kControlCount + 1] = {};  // by ControlNumber
  int dpi = 96;                    // the window's screen; sizes below are pixels at it
  HFONT font = nullptr;
  HBRUSH warningBrush = nullptr;  // workers field while the worker warning is set
  HBRUSH hintBrush = nullptr;     // worker hint line
  HWND tooltip = nullptr;
  HACCEL keys = nullptr;           // F5 and Esc
  HWND lastFocus = nullptr;        // the control that had the focus when the window was left

  bool settingsShown = false;
  bool methodDetailsShown = false;
  bool settingsEverShown = false;  // never cleared; the test start reads it
  bool controlsLocked = false;
  bool workerWarning = false;      // the workers field shows the high-count warning colours
  std::wstring takeoverReason;     // why the profile greyed fields (view/field_states.h); empty if none
  bool splitterDragging = false;
  bool closing = false;            // the user closed the window during a run; it waits for the run to end
  bool sessionEnding = false;      // Windows ends the session: no question is asked any more
  std::wstring sessionBlockReason;  // what the shutdown screen shows while a run holds it up; empty if none
  bool driveScanRunning = false;   // a drive scan thread is on its way
  bool driveScanAgain = false;     // another change came while it was
  uint64_t driveScanRequest = 0;   // the scan on its way (ui/device_work.h request numbers)
  bool firstScanPending = false;   // the window has not seen its drives yet
  uint64_t driveReadRequest = 0;   // the one-drive read whose answer counts; 0 with none
  bool startReadPending = false;   // Start waits for its drive read
  bool startVerifyOnly = false;    // ... pressed as "Nur prüfen"
  uint64_t deletionRequest = 0;    // the test-file deletion on its way; 0 with none

  std::vector<ResultRecord> currentResults;
  std::wstring currentResultsPath;
  RunDiagnosis currentDiagnosis;  // of currentResults: what the map window and the PDF draw
  ResultsFileHeader currentHeader;  // of currentResults: the drive and the evidence of their run
  Verdict currentVerdict;           // of currentResults: what the summary, status line and report show
  std::vector<std::wstring> savedResultFiles;  // in the saved-tests box's order
  int resultSortColumn = 0;
  bool resultSortAscending = true;

  std::shared_ptr<TestState> run;  // the current or last run; a run state exists while set
  uint64_t runStartMs = 0;         // GetTickCount64 at the start of the current run; 0 once its end was seen
  bool runErrorsSeen = false;      // a job of the current run has counted errors (each job starts at 0)
  bool runOutcomeSeen = false;     // the current run handed over its outcome: currentVerdict is its own
  bool runOnProgramVolume = false;  // the current run writes on the drive the program lies on
  bool settingsSaveDeferred = false;  // a settings save waits for that run's end
  TaskbarProgress taskbar;         // what the taskbar button shows
};

// The one window state, made on first use.
WindowState& Ui();

// The control of a number, or null before it is created.
HWND Control(int number);
// A run state exists and its running flag is set.
bool TestRunning();

// Text of a window as a wide string; empty for null.
std::wstring WindowText(HWND window);
// The helpers below address a control by number and do nothing before it exists.
void SetText(int number, const std::wstring& text);
void EnableControl(int number, bool enable);
// A check box is ticked (false before it exists).
bool IsChecked(int number);
// Ticks or clears a check box.
void SetChecked(int number, bool checked);
// A choice box's selected entry; -1 with none selected or before it exists.
int ChoiceSelection(int number);

}  // namespace velkor
