#include "engine/run_lock.h"

#include "common/diag_log.h"
#include "platform/errors.h"

namespace velkor {

bool LockRunTarget(TestState& state) {
  switch (platform::TryLockVolume(state.driveRoot, &state.targetLock)) {
    case platform::VolumeLockResult::kTaken:
      return true;
    case platform::VolumeLockResult::kBusy:
      return false;
    case platform::VolumeLockResult::kFailed:
      break;
  }
  AppendDiagLog(L"Hinweis: Die Sperre gegen einen zweiten Test auf " + state.driveRoot +
                L" konnte nicht angelegt werden; der Test läuft ohne sie. " +
                FormatWindowsError(platform::LastError()));
  return true;
}

}  // namespace velkor
