// Windows ending the session (shutdown, logoff, an update's restart) while a run goes on: the
// shutdown screen names why Velkor holds it up, and if the session ends anyway the run stops and
// its results file is saved as unfinished before the process goes.
#pragma once

#include <windows.h>

namespace velkor {

// How long the window waits at the session's end for the stopped run to save its results.
inline constexpr ULONGLONG kSessionEndWaitMs = 20000;

// A run has started: the shutdown screen shows the reason (in the window's language) until
// AllowSessionEnd.
void BlockSessionEnd(HWND main);
// The run is over: nothing holds the session up any more.
void AllowSessionEnd(HWND main);

// WM_QUERYENDSESSION: FALSE while a run goes on.
LRESULT OnQueryEndSession();
// WM_ENDSESSION: the session ends (ending TRUE): a run is stopped as StopReason::kSessionEnd and
// waited for, without any question, and the settings are saved.
LRESULT OnEndSession(bool ending);

}  // namespace velkor
