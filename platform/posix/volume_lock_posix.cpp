#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

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

// Where this user's locks live: a folder no one else can change, so no one can plant a link, a
// hard link or a held lock under a lock's name. Root's is /run/lock/velkor; everyone else's is
// under their runtime folder, or /tmp/velkor-<uid> without one.
std::string LockFolder() {
  const uid_t uid = ::geteuid();
  if (uid == 0) {
    struct stat st {};
    if (::stat("/run/lock", &st) == 0 && S_ISDIR(st.st_mode)) return "/run/lock/velkor";
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (uid != 0 && runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/velkor";
  return "/tmp/velkor-" + std::to_string(uid);
}

// The folder, made if missing; refused unless it is a folder (not a link to one) of this user
// that nobody else may write to.
int OpenLockFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    SetLastErrorFromErrno(errno);
    return -1;
  }
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) {
    SetLastErrorFromErrno(errno == ELOOP ? EACCES : errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(dir, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 022) != 0) {
    ::close(dir);
    SetLastErrorFromErrno(EACCES);
    return -1;
  }
  return dir;
}

std::string LockFileName(const std::wstring& key) {
  std::string name = "volume-";
  for (char c : WideToUtf8(key)) name.push_back(c == '/' ? '_' : c);
  return name + ".lock";
}

// Creates the lock file, or opens one that is already there when it is a plain file of this user
// with one name; never follows a link and never blocks on a pipe.
int OpenLockFile(int dir, const std::string& name) {
  int fd = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0 || errno != EEXIST) {
    if (fd < 0) SetLastErrorFromErrno(errno);
    return fd;
  }
  fd = ::openat(dir, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    SetLastErrorFromErrno(errno == ELOOP ? EACCES : errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1) {
    ::close(fd);
    SetLastErrorFromErrno(EACCES);
    return -1;
  }
  return fd;
}

}  // namespace

VolumeLockResult TryLockKey(const std::wstring& key, VolumeLock* lock) {
  UnlockVolume(*lock);
  const int dir = OpenLockFolder(LockFolder());
  if (dir < 0) return VolumeLockResult::kFailed;
  const std::string name = LockFileName(key);
  // The holder removes the file when it lets go: a lock taken on a file that was removed (or
  // replaced) meanwhile is no lock, and the next try takes the new file.
  VolumeLockResult result = VolumeLockResult::kFailed;
  SetLastErrorFromErrno(EAGAIN);
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = OpenLockFile(dir, name);
    if (fd < 0) break;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int e = errno;
      ::close(fd);
      if (e == EWOULDBLOCK) {
        result = VolumeLockResult::kBusy;
      } else {
        SetLastErrorFromErrno(e);
      }
      break;
    }
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      lock->raw = fd;
      lock->name = key;
      result = VolumeLockResult::kTaken;
      break;
    }
    ::close(fd);
  }
  ::close(dir);
  return result;
}

void UnlockVolume(VolumeLock& lock) {
  if (!lock.held()) return;
  // Still held: nobody else can have taken it, and the folder is this user's alone.
  ::unlink((LockFolder() + "/" + LockFileName(lock.name)).c_str());
  ::close(static_cast<int>(lock.raw));
  lock.raw = -1;
  lock.name.clear();
}

}  // namespace velkor::platform
