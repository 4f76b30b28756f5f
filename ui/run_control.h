// Starting, following, stopping and finishing runs from the window.
#pragma once

#include <windows.h>

namespace velkor {

struct RunOutcome;

// The title of the box that tells why a run ended before its first job.
inline constexpr wchar_t kStartFailedTitle[] = L"Test nicht möglich";

// "Testen" (verifyOnly false) and "Nur prüfen": checks, questions, compact modes, then the run.
void StartTestCommand(bool verifyOnly);
// "Stop": only while a test runs.
void StopTestCommand();
// The progress bar and status line from the run state; the end summary once the run is over.
void UpdateProgress();
// One tick of the progress timer.
void OnProgressTimer();
// The run's target has gone (noticed by the run itself or the drive watch): the user hears of it
// once per run.
void TellTargetGone();
// The end-of-run package arrived; takes ownership.
void OnTestDone(RunOutcome* outcome);

}  // namespace velkor
