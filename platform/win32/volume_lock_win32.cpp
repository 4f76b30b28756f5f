#include <windows.h>

#include "platform/volume_lock.h"
#include "platform/volumes.h"

namespace velkor::platform {

std::wstring VolumeLockKey(const std::wstring& path) {
  // A SUBST letter takes the lock of the volume it stands for.
  const std::wstring resolved = ResolveSubstitutedLetter(path);
  if (::GetFileAttributesW(resolved.c_str()) == INVALID_FILE_ATTRIBUTES) return L"";
  std::wstring root(resolved.size() + 2, L'\0');
  if (!::GetVolumePathNameW(resolved.c_str(), root.data(), static_cast<DWORD>(root.size()))) return L"";
  root.resize(wcslen(root.c_str()));
  // "\\?\Volume{...}\" does not change with the letter or folder the volume is reached by.
  wchar_t guid[64] = {};
  if (::GetVolumeNameForVolumeMountPointW(root.c_str(), guid, 64)) return guid;
  for (wchar_t& c : root) c = static_cast<wchar_t>(towupper(c));
  return root;
}

VolumeLockResult TryLockKey(const std::wstring& key, VolumeLock* lock) {
  UnlockVolume(*lock);
  // One name for every session of the machine; a kernel object's name holds no backslash but
  // the namespace's own.
  std::wstring name = L"Global\\Velkor-Lauf-";
  for (wchar_t c : key) name.push_back(c == L'\\' ? L'_' : c);
  // A kernel object's name is limited to MAX_PATH characters (CreateMutexW); a share's long root
  // is cut there, which still names it.
  if (name.size() > MAX_PATH - 1) name.resize(MAX_PATH - 1);
  // The object's existence is the lock: whoever made it holds it until its handle closes.
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  const DWORD code = ::GetLastError();
  if (mutex == nullptr) {
    // Made by another user's process, whose object this one may not open.
    if (code == ERROR_ACCESS_DENIED) return VolumeLockResult::kBusy;
    return VolumeLockResult::kFailed;
  }
  if (code == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return VolumeLockResult::kBusy;
  }
  lock->raw = reinterpret_cast<intptr_t>(mutex);
  return VolumeLockResult::kTaken;
}

void UnlockVolume(VolumeLock& lock) {
  if (!lock.held()) return;
  ::CloseHandle(reinterpret_cast<HANDLE>(lock.raw));
  lock.raw = -1;
}

}  // namespace velkor::platform
