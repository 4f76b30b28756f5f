#include "engine/held_files.h"

#include "engine/target_guard.h"
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
    FailRunUnlessTargetGone(state, code);
  }
}

std::wstring HeldFileNote(uint32_t code) {
  if (!IsHeldFileError(code)) return L"";
  return L" (auch nach " + std::to_wstring(kHeldFileRetryMs / 1000) +
         L" s noch von einem anderen Programm belegt oder gesperrt, etwa einem Virenscanner; kein Fehler des Mediums)";
}

}  // namespace velkor
