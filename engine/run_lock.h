// One run per volume: the lock a front-end takes before it starts a run, so that two runs (two
// windows, or the window and velkor-cli) never write the same test files.
#pragma once

#include "engine/run_config.h"

namespace velkor {

// Takes the lock of the volume of state.driveRoot into state.targetLock. False when another run
// holds it: the start must not go ahead (kDriveBusyText). Where the lock cannot be made at all
// the run goes ahead without it, and a "Hinweis:" line says so.
bool LockRunTarget(TestState& state);

inline constexpr wchar_t kDriveBusyText[] =
    L"Auf diesem Laufwerk läuft bereits ein Test (in diesem oder einem anderen Velkor-Programm). Zwei Tests "
    L"würden dieselben Testdateien schreiben. Bitte warten, bis der laufende Test beendet ist.";
inline constexpr wchar_t kDriveBusyTitle[] = L"Laufwerk belegt";

}  // namespace velkor
