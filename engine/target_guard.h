// The run writes only beneath the folder it was started on: the target folder keeps its identity
// (the folder itself and the volume that holds it) for the whole run. A stick pulled, a drive
// letter given to another volume, a mount point left as an empty folder on another disk: the path
// then leads elsewhere, and the run stops before it writes there.
#pragma once

#include <cstdint>

#include "engine/run_config.h"

namespace velkor {

// Records the identity of state.driveRoot as the run's target, and of the volume that holds it.
// False when the folder cannot be identified (the reason in platform::LastError()).
bool RecordTargetFolder(TestState& state);

// True while state.driveRoot still leads to the recorded folder, or when none was recorded (a job
// run on its own). The first time it does not, StopForTargetGone.
bool TargetStillInPlace(TestState& state);

// TargetStillInPlace for the workers before each batch of blocks, asking the system at most every
// 100 ms (*nextCheck holds the counter value of the next question; 0 asks at once). In between it
// reports what the last check or any other worker found.
bool TargetStillInPlaceSoon(TestState& state, int64_t* nextCheck);

// How long a failed read, write or flush keeps asking whether the target is still there: a pulled
// stick fails its requests a moment before the system lets its volume go.
inline constexpr uint32_t kTargetGoneWaitMs = 1000;

// The codes of a request whose device or file system is no longer there (Windows
// ERROR_NOT_READY, ERROR_NO_SUCH_DEVICE, ERROR_DEVICE_NOT_CONNECTED, ERROR_FILE_INVALID; POSIX
// ENODEV, ENXIO, ENOTCONN), as opposed to a medium that answers with a failure.
bool IsDeviceGoneError(uint32_t code);

// A read, write or flush of the run failed with code: true when the target has gone, which then
// stops the run (StopForTargetGone) and is no fault of the medium. Asks, for up to
// kTargetGoneWaitMs, whether driveRoot still leads to the recorded folder and whether its volume
// is still mounted from the same device and answers. Without a recorded target only the code
// tells (IsDeviceGoneError).
bool TargetGoneAfterFailure(TestState& state, uint32_t code);

// A worker's I/O failure: the medium's (FailRun), unless the target has gone
// (TargetGoneAfterFailure). True when it counted as the medium's.
bool FailRunUnlessTargetGone(TestState& state, uint32_t code);

// Stops the run because its target has gone or changed: the stop request, and, only for the first
// notice of the run, TargetGoneLogLine and a "Fehler:" status text. Returns whether this was the
// first notice.
bool StopForTargetGone(TestState& state);

}  // namespace velkor
