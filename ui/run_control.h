// Starting, following, stopping and finishing runs from the window.
#pragma once

#include <windows.h>

namespace velkor {

struct RunOutcome;
struct DriveInfo;
struct FilesDeleted;

// The title of the box that tells why a run ended before its first job.
inline constexpr wchar_t kStartFailedTitle[] = L"Test nicht möglich";

// "Testen" (verifyOnly false) and "Nur prüfen": checks, questions, compact modes, then the run.
void StartTestCommand(bool verifyOnly);
// Start's drive read came back (read null: the drive no longer answers): the start goes on.
void ContinueStart(const DriveInfo* read);
// Start waits for its drive read.
bool StartPending();
// Deletes the last run's test files on a worker; the window is locked and says so until then.
void DeleteTestFilesAside();
// A deletion is on its way.
bool DeletingTestFiles();
// The deletion has ended (takes ownership): the window is free again and reads the drives.
void OnTestFilesDeleted(FilesDeleted* done);
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
