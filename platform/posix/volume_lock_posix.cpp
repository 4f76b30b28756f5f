#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/posix_util.h"
#include "platform/volume_lock.h"

namespace velkor::platform {

std::wstring VolumeLockKey(const std::wstring& path) {
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) {
    SetLastErrorFromErrno(errno);
    return L"";
  }
  char key[40];
  std::snprintf(key, sizeof(key), "dev-%llx", static_cast<unsigned long long>(info.st_dev));
  return Utf8ToWide(key);
}

namespace {

// Where the lock of a key lives while it is held.
std::string LockFileName(const std::wstring& key) {
  std::string name = "/tmp/velkor-volume-";
  for (char c : WideToUtf8(key)) name.push_back(c == '/' ? '_' : c);
  return name + ".lock";
}

}  // namespace

VolumeLockResult TryLockKey(const std::wstring& key, VolumeLock* lock) {
  UnlockVolume(*lock);
  const std::string name = LockFileName(key);
  // The holder removes the file when it lets go: a lock taken on a file that was removed (or
  // replaced) meanwhile is no lock, and the next try takes the new file.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      SetLastErrorFromErrno(errno);
      return VolumeLockResult::kFailed;
    }
    ::fchmod(fd, 0666);  // another user's run must be able to open it too (the umask took bits away)
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int e = errno;
      ::close(fd);
      if (e == EWOULDBLOCK) return VolumeLockResult::kBusy;
      SetLastErrorFromErrno(e);
      return VolumeLockResult::kFailed;
    }
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::stat(name.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      lock->raw = fd;
      lock->name = key;
      return VolumeLockResult::kTaken;
    }
    ::close(fd);
  }
  SetLastErrorFromErrno(EAGAIN);
  return VolumeLockResult::kFailed;
}

void UnlockVolume(VolumeLock& lock) {
  if (!lock.held()) return;
  ::unlink(LockFileName(lock.name).c_str());  // still held: nobody else can have taken it
  ::close(static_cast<int>(lock.raw));
  lock.raw = -1;
  lock.name.clear();
}

}  // namespace velkor::platform
