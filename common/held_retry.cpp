#include "common/held_retry.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/errors.h"

namespace velkor {

bool IsHeldFileError(uint32_t code) { return platform::MayBeHeldByAnotherProgram(code); }

bool RetryWhileHeld(const std::function<bool()>& attempt, const std::atomic<bool>* stop, uint32_t boundMs) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(boundMs);
  std::chrono::milliseconds pause(50);
  for (;;) {
    if (attempt()) return true;
    const uint32_t code = platform::LastError();
    if (!IsHeldFileError(code) || Clock::now() >= end || (stop != nullptr && stop->load())) return false;
    std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(
        pause, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now())));
    pause = std::min(pause * 2, std::chrono::milliseconds(500));
    platform::SetLastError(code);
  }
}

}  // namespace velkor
