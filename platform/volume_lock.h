// A lock per volume that a run holds while it tests the volume: the window, velkor-cli and second
// copies of either never write their test files onto one volume at the same time. It goes away
// with its holder, also when that one crashes. On Linux it is seen by the processes of one user
// (its file lives in a folder only that user can change, so no one else can hold or plant it);
// on Windows by every session of the machine.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace velkor::platform {

// A held lock; moving hands it on, and destroying it lets it go.
struct VolumeLock {
  intptr_t raw = -1;
  std::wstring name;  // the key it was taken by
  VolumeLock() = default;
  VolumeLock(const VolumeLock&) = delete;
  VolumeLock& operator=(const VolumeLock&) = delete;
  VolumeLock(VolumeLock&& other) noexcept : raw(other.raw), name(std::move(other.name)) { other.raw = -1; }
  VolumeLock& operator=(VolumeLock&& other) noexcept;
  ~VolumeLock();
  bool held() const { return raw != -1; }
};

enum class VolumeLockResult : uint8_t {
  kTaken,   // *lock holds it now
  kBusy,    // another holder has it
  kFailed,  // the lock could not be made (LastError() says why); nothing is held
};

// The name of the volume that holds path, the same for every folder of it and, where the system
// can tell, for every letter or folder it is reached by. Empty when path does not exist.
std::wstring VolumeLockKey(const std::wstring& path);

// Takes the lock named key (any text; a volume's is VolumeLockKey).
VolumeLockResult TryLockKey(const std::wstring& key, VolumeLock* lock);

// TryLockKey of VolumeLockKey(path); kFailed when path does not exist.
VolumeLockResult TryLockVolume(const std::wstring& path, VolumeLock* lock);

// Lets the lock go; nothing for a lock not held.
void UnlockVolume(VolumeLock& lock);

}  // namespace velkor::platform
