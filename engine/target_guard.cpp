#include "engine/target_guard.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/diag_log.h"
#include "engine/start_rules.h"
#include "engine/worker_common.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/volumes.h"

namespace velkor {

namespace {

// The recorded folder is still where driveRoot leads, on the same volume from the same device.
bool TargetPresentNow(const TestState& state) {
  platform::FileIdentity folder;
  if (!platform::QueryPathIdentity(state.driveRoot, &folder) || !(folder == state.targetFolder)) return false;
  std::wstring volume;
  return state.targetVolume.empty() ||
         (platform::QueryVolumeIdentity(state.driveRoot, &volume) && volume == state.targetVolume);
}

}  // namespace

bool RecordTargetFolder(TestState& state) {
  state.targetRecorded = platform::QueryPathIdentity(state.driveRoot, &state.targetFolder);
  const uint32_t code = platform::LastError();
  if (!state.targetRecorded || !platform::QueryVolumeIdentity(state.driveRoot, &state.targetVolume)) {
    state.targetVolume.clear();
  }
  platform::SetLastError(code);
  return state.targetRecorded;
}

bool IsDeviceGoneError(uint32_t code) {
  return code == platform::kErrorNotReady || code == platform::kErrorNoSuchDevice ||
         code == platform::kErrorDeviceNotConnected || code == platform::kErrorFileInvalid;
}

bool TargetGoneAfterFailure(TestState& state, uint32_t code) {
  if (state.targetGone.load()) return true;
  // The code alone is no proof: Wine reports a medium's read error (EIO) as "not ready", and a
  // failing card reader may too. Where the target is known, only its absence counts.
  if (!state.targetRecorded) {
    if (!IsDeviceGoneError(code)) return false;
    StopForTargetGone(state);
    return true;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(kTargetGoneWaitMs);
  std::chrono::milliseconds pause(20);
  while (TargetPresentNow(state)) {
    if (state.targetGone.load()) return true;  // another worker's check saw it go
    const Clock::time_point now = Clock::now();
    if (now >= end) return false;
    std::this_thread::sleep_for(std::min(pause, std::chrono::duration_cast<std::chrono::milliseconds>(end - now)));
    pause = std::min(pause * 2, std::chrono::milliseconds(200));
  }
  StopForTargetGone(state);
  return true;
}

bool FailRunUnlessTargetGone(TestState& state, uint32_t code) {
  if (TargetGoneAfterFailure(state, code)) return false;
  FailRun(state);
  return true;
}

bool TargetStillInPlace(TestState& state) {
  if (state.targetGone.load()) return false;
  if (!state.targetRecorded) return true;
  platform::FileIdentity now;
  if (platform::QueryPathIdentity(state.driveRoot, &now) && now == state.targetFolder) return true;
  StopForTargetGone(state);
  return false;
}

bool TargetStillInPlaceSoon(TestState& state, int64_t* nextCheck) {
  const int64_t now = platform::QueryCounter();
  if (*nextCheck != 0 && now < *nextCheck) return !state.targetGone.load();
  *nextCheck = now + platform::QueryCounterFrequency() / 10;
  return TargetStillInPlace(state);
}

bool StopForTargetGone(TestState& state) {
  RequestStop(state, StopReason::kDriveGone);
  if (state.targetGone.exchange(true)) return false;
  AppendDiagLog(TargetGoneLogLine(state.driveRoot));
  PostStatusText(L"Fehler: Das Ziellaufwerk wurde entfernt oder geändert; es wird nichts mehr darauf geschrieben.");
  return true;
}

}  // namespace velkor
