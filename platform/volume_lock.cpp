#include "platform/volume_lock.h"

namespace velkor::platform {

VolumeLock& VolumeLock::operator=(VolumeLock&& other) noexcept {
  if (this != &other) {
    UnlockVolume(*this);
    raw = other.raw;
    name = std::move(other.name);
    other.raw = -1;
  }
  return *this;
}

VolumeLock::~VolumeLock() { UnlockVolume(*this); }

VolumeLockResult TryLockVolume(const std::wstring& path, VolumeLock* lock) {
  UnlockVolume(*lock);
  const std::wstring key = VolumeLockKey(path);
  if (key.empty()) return VolumeLockResult::kFailed;
  return TryLockKey(key, lock);
}

}  // namespace velkor::platform
