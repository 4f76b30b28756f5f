#include "view/taskbar_state.h"

#include <algorithm>

namespace velkor {

TaskbarProgress TaskbarProgressFor(bool running, int barPosition, bool errorsFound) {
  TaskbarProgress p;
  if (!running) return p;
  p.mark = errorsFound ? TaskbarMark::kError : TaskbarMark::kProgress;
  p.completed = static_cast<uint64_t>(std::clamp(barPosition, 0, 10000));
  return p;
}

TaskbarProgress TaskbarAtRunEnd(VerdictKind verdict, bool windowInForeground) {
  TaskbarProgress p;
  if (verdict == VerdictKind::kOk || windowInForeground) return p;
  p.mark = verdict == VerdictKind::kFailed ? TaskbarMark::kError : TaskbarMark::kWarning;
  p.completed = p.total;
  return p;
}

bool ShouldFlashAtRunEnd(int64_t runSeconds, bool windowInForeground) {
  return !windowInForeground && runSeconds >= kFlashAfterSeconds;
}

}  // namespace velkor
