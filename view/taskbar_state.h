// What the taskbar button shows of a run, and when a finished run asks for the user's attention.
#pragma once

#include <cstdint>

namespace velkor {

enum class TaskbarMark : uint8_t {
  kNone,      // no run: the plain button
  kProgress,  // a run goes on without errors
  kError,     // a run that has found errors: the bar turns red
};

struct TaskbarProgress {
  TaskbarMark mark = TaskbarMark::kNone;
  uint64_t completed = 0;  // of total, the progress bar's position
  uint64_t total = 10000;
};

// The taskbar button while a run goes on: its progress bar position of 0 to 10000, red once any
// of its jobs has found errors. The plain button when none goes on.
TaskbarProgress TaskbarProgressFor(bool running, int barPosition, bool errorsFound);

// The taskbar button once a run is over: a full red bar when it found errors and the user is in
// another window (it stays until the window is activated), else the plain button.
TaskbarProgress TaskbarAtRunEnd(bool errorsFound, bool windowInForeground);

// A run that took at least this long is one the user has likely left alone.
inline constexpr int64_t kFlashAfterSeconds = 60;

// The taskbar button flashes at the end of a run that took kFlashAfterSeconds or more while the
// window is not in the foreground.
bool ShouldFlashAtRunEnd(int64_t runSeconds, bool windowInForeground);

}  // namespace velkor
