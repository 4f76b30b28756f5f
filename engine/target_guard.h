// The run writes only beneath the folder it was started on: the target folder keeps its identity
// (the folder itself and the volume that holds it) for the whole run. A stick pulled, a drive
// letter given to another volume, a mount point left as an empty folder on another disk: the path
// then leads elsewhere, and the run stops before it writes there.
#pragma once

#include <cstdint>

#include "engine/run_config.h"

namespace velkor {

// Records the identity of state.driveRoot as the run's target. False when the folder cannot be
// identified (the reason in platform::LastError()).
bool RecordTargetFolder(TestState& state);

// True while state.driveRoot still leads to the recorded folder, or when none was recorded (a job
// run on its own). The first time it does not, StopForTargetGone.
bool TargetStillInPlace(TestState& state);

// TargetStillInPlace for the workers before each batch of blocks, asking the system at most every
// 100 ms (*nextCheck holds the counter value of the next question; 0 asks at once). In between it
// reports what the last check or any other worker found.
bool TargetStillInPlaceSoon(TestState& state, int64_t* nextCheck);

// Stops the run because its target has gone or changed: the stop request, and, only for the first
// notice of the run, TargetGoneLogLine and a "Fehler:" status text. Returns whether this was the
// first notice.
bool StopForTargetGone(TestState& state);

}  // namespace velkor
