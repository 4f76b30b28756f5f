// What the taskbar button shows of a run, and when a finished run asks for the user's attention.
#pragma once

#include <cstdint>

#include "results/verdict.h"

namespace velkor {

enum class TaskbarMark : uint8_t {
  kNone,      // no run: the plain button
  kProgress,  // a run goes on without errors
  kError,     // a run that has found errors: the bar turns red
  kWarning,   // a run that did not finish its check, or checked only a part: the bar turns yellow
};

struct TaskbarProgress {
  TaskbarMark mark = TaskbarMark::kNone;
  uint64_t completed = 0;  // of total, the progress bar's position
  uint64_t total = 10000;
};

// The taskbar button while a run goes on: its progress bar position of 0 to 10000, red once any
// of its jobs has found errors. The plain button when none goes on.
TaskbarProgress TaskbarProgressFor(bool running, int barPosition, bool errorsFound);

// The taskbar button once a run is over, for a user in another window (it stays until the window
// is activated): a full red bar for a failed medium, a full yellow one for a run that did not
// finish or checked only a part; the plain button for a whole good check and in the foreground.
TaskbarProgress TaskbarAtRunEnd(VerdictKind verdict, bool windowInForeground);

// A run that took at least this long is one the user has likely left alone.
inline constexpr int64_t kFlashAfterSeconds = 60;

// The taskbar button flashes at the end of a run that took kFlashAfterSeconds or more while the
// window is not in the foreground.
bool ShouldFlashAtRunEnd(int64_t runSeconds, bool windowInForeground);

}  // namespace velkor
