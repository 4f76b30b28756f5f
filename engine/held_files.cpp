#include "engine/held_files.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/worker_common.h"
#include "platform/errors.h"

namespace velkor {
namespace {

platform::FileHandle OpenWithRetry(const std::function<platform::FileHandle()>& open, const std::atomic<bool>* stop) {
  platform::FileHandle file;
  RetryWhileHeld([&] {
    file = open();
    return file.valid();
  }, stop);
  return file;
}

}  // namespace

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

platform::FileHandle OpenTestFileForWrite(const std::wstring& path, bool writeThrough, const std::atomic<bool>* stop) {
  return OpenWithRetry([&] { return platform::OpenFileForWrite(path, writeThrough); }, stop);
}

platform::FileHandle OpenTestFileForRead(const std::wstring& path, const std::atomic<bool>* stop) {
  return OpenWithRetry([&] { return platform::OpenFileForRead(path); }, stop);
}

platform::FileHandle OpenTestFileForDirectRead(const std::wstring& path, const std::atomic<bool>* stop) {
  return OpenWithRetry([&] { return platform::OpenFileForDirectRead(path); }, stop);
}

void StopOnOpenFailure(TestState& state, uint32_t code) {
  if (IsHeldFileError(code)) {
    RequestStop(state, StopReason::kFileHeld);
  } else {
    FailRun(state);
  }
}

std::wstring HeldFileNote(uint32_t code) {
  if (!IsHeldFileError(code)) return L"";
  return L" (auch nach " + std::to_wstring(kHeldFileRetryMs / 1000) +
         L" s noch von einem anderen Programm belegt oder gesperrt, etwa einem Virenscanner; kein Fehler des Mediums)";
}

}  // namespace velkor
