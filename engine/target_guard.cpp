#include "engine/target_guard.h"

#include "common/diag_log.h"
#include "engine/start_rules.h"
#include "platform/system.h"

namespace velkor {

bool RecordTargetFolder(TestState& state) {
  state.targetRecorded = platform::QueryPathIdentity(state.driveRoot, &state.targetFolder);
  return state.targetRecorded;
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
