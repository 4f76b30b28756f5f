#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cwctype>

#include "platform/errors.h"
#include "platform/posix/posix_util.h"

namespace velkor::platform {
namespace {

// ENOENT covers a missing file and a missing folder on the way; Windows tells them apart.
void SetLastErrorForMissing(const std::string& native, int e) {
  if (e == ENOENT) {
    const size_t cut = native.find_last_of('/');
    const std::string parent = cut == std::string::npos ? "." : (cut == 0 ? "/" : native.substr(0, cut));
    struct stat st;
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastErrorWithErrno(kErrorPathNotFound, ENOENT);
      return;
    }
  }
  SetLastErrorFromErrno(e);
}

FileHandle OpenWith(const std::wstring& path, int flags, mode_t mode = 0644) {
  const std::string native = NativePath(path);
  // A read never waits for a pipe's writer or a terminal: only plain files are read.
  const bool read = (flags & O_ACCMODE) == O_RDONLY;
  int fd;
  do {
    fd = ::open(native.c_str(), flags | O_CLOEXEC | (read ? O_NONBLOCK | O_NOCTTY : 0), mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    SetLastErrorForMissing(native, errno);
    return FileHandle{};
  }
  // open() accepts a folder for reading; a Windows file open does not.
  struct stat st;
  if (fstat(fd, &st) == 0 && (S_ISDIR(st.st_mode) || (read && !S_ISREG(st.st_mode)))) {
    ::close(fd);
    SetLastError(kErrorAccessDenied);
    return FileHandle{};
  }
  if (read) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return FileHandle{fd};
}

int Fd(const FileHandle& file) { return static_cast<int>(file.raw); }

EntryInfo EntryOfStat(const struct stat& st) {
  EntryInfo info;
  info.identity.volume = static_cast<uint64_t>(st.st_dev);
  info.identity.index = static_cast<uint64_t>(st.st_ino);
  info.links = static_cast<uint32_t>(st.st_nlink);
  if (S_ISLNK(st.st_mode)) {
    info.kind = EntryKind::kSymbolicLink;
  } else if (S_ISDIR(st.st_mode)) {
    info.kind = EntryKind::kFolder;
  } else if (!S_ISREG(st.st_mode)) {
    info.kind = EntryKind::kDevice;
  } else {
    info.kind = st.st_nlink > 1 ? EntryKind::kHardLinked : EntryKind::kPlainFile;
  }
  return info;
}

// Opens without following a final link; O_NONBLOCK so that a pipe or device never blocks the open
// (it is refused right after). Keeps a plain file open and describes it in *found; closes anything
// else and fails with kErrorAccessDenied.
int OpenPlainNoFollow(const std::string& native, int flags, EntryInfo* found) {
  int fd;
  do {
    fd = ::open(native.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int e = errno;
    struct stat st;
    // The open says "link" (ELOOP), "folder" (EISDIR) or "no reader" (ENXIO) only indirectly.
    if (::lstat(native.c_str(), &st) == 0 && (*found = EntryOfStat(st)).kind != EntryKind::kPlainFile) {
      SetLastError(kErrorAccessDenied);
    } else {
      if (e == ENOENT) found->kind = EntryKind::kMissing;
      SetLastErrorForMissing(native, e);
    }
    return -1;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    SetLastErrorFromErrno(errno);
    ::close(fd);
    return -1;
  }
  *found = EntryOfStat(st);
  if (found->kind != EntryKind::kPlainFile) {
    ::close(fd);
    SetLastError(kErrorAccessDenied);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool WildcardMatch(const wchar_t* pattern, const wchar_t* text) {
  // Iterative '*' backtracking, case-insensitive.
  const wchar_t* starPattern = nullptr;
  const wchar_t* starText = nullptr;
  while (*text) {
    if (*pattern == L'*') {
      starPattern = ++pattern;
      starText = text;
    } else if (*pattern == L'?' || std::towlower(*pattern) == std::towlower(*text)) {
      ++pattern;
      ++text;
    } else if (starPattern) {
      pattern = starPattern;
      text = ++starText;
    } else {
      return false;
    }
  }
  while (*pattern == L'*') ++pattern;
  return *pattern == 0;
}

}  // namespace

FileHandle OpenFileForWrite(const std::wstring& path, bool writeThrough) {
  EntryInfo found;
  const int fd = OpenPlainNoFollow(NativePath(path), O_WRONLY | (writeThrough ? O_DSYNC : 0), &found);
  return fd < 0 ? FileHandle{} : FileHandle{fd};
}

FileHandle OpenFileForRead(const std::wstring& path) { return OpenWith(path, O_RDONLY); }

FileHandle OpenFileForDirectRead(const std::wstring& path) {
  return OpenWith(path, O_RDONLY | O_DIRECT);
}

uint32_t DirectIoAlignment(const std::wstring& path) {
  struct stat st;
  uint32_t alignment = 4096;
  if (::stat(NativePath(path).c_str(), &st) == 0 && st.st_blksize > 0) {
    alignment = static_cast<uint32_t>(st.st_blksize);
  }
  if (alignment < 512) alignment = 512;
  if (alignment > 65536) alignment = 65536;
  return alignment;
}

FileHandle CreateFileTruncate(const std::wstring& path) {
  return OpenWith(path, O_WRONLY | O_CREAT | O_TRUNC);
}

FileHandle CreateFileNew(const std::wstring& path) {
  FileHandle file = OpenWith(path, O_WRONLY | O_CREAT | O_EXCL);
  if (!file.valid() && LastError() == kErrorAlreadyExists) SetLastError(kErrorFileExists);
  return file;
}

FileHandle OpenFileForAppend(const std::wstring& path) {
  return OpenWith(path, O_WRONLY | O_CREAT | O_APPEND);
}

void CloseFile(FileHandle& file) {
  if (file.valid()) ::close(Fd(file));
  file.raw = -1;
}

bool ReadFileAt(const FileHandle& file, uint64_t offset, void* buffer, uint32_t length, uint32_t* done) {
  ssize_t n;
  do {
    n = ::pread(Fd(file), buffer, length, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    SetLastErrorFromErrno(errno);
    *done = 0;
    return false;
  }
  *done = static_cast<uint32_t>(n);
  return true;
}

bool WriteFileAt(const FileHandle& file, uint64_t offset, const void* data, uint32_t length, uint32_t* done) {
  ssize_t n;
  do {
    n = ::pwrite(Fd(file), data, length, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    SetLastErrorFromErrno(errno);
    *done = 0;
    return false;
  }
  *done = static_cast<uint32_t>(n);
  return true;
}

bool WriteFileSequential(const FileHandle& file, const void* data, uint32_t length, uint32_t* done) {
  ssize_t n;
  do {
    n = ::write(Fd(file), data, length);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    SetLastErrorFromErrno(errno);
    *done = 0;
    return false;
  }
  *done = static_cast<uint32_t>(n);
  return true;
}

bool FlushFileToMedium(const FileHandle& file) {
  if (::fdatasync(Fd(file)) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return true;
}

void StartWriteBack(const FileHandle& file, uint64_t offset, uint64_t length) {
  // Without it, Linux keeps up to a fifth of the memory dirty before it starts writing; the flush
  // at the end then waits for all of it at once.
  ::sync_file_range(Fd(file), static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

void DropWrittenRange(const FileHandle& file, uint64_t offset, uint64_t length) {
  ::posix_fadvise(Fd(file), static_cast<off_t>(offset), static_cast<off_t>(length), POSIX_FADV_DONTNEED);
}

bool EvictFileFromCache(const std::wstring& path) {
  FileHandle file = OpenWith(path, O_RDONLY);
  if (!file.valid()) return false;
  const int rc = ::posix_fadvise(Fd(file), 0, 0, POSIX_FADV_DONTNEED);
  CloseFile(file);
  if (rc != 0) {
    SetLastErrorFromErrno(rc);
    return false;
  }
  return true;
}

bool GetFileSizeByHandle(const FileHandle& file, uint64_t* size) {
  struct stat st;
  if (::fstat(Fd(file), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool GetFileSizeByPath(const std::wstring& path, uint64_t* size) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool FileExists(const std::wstring& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DeleteFileAtPath(const std::wstring& path) {
  struct stat st;
  const std::string native = NativePath(path);
  if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    SetLastError(kErrorAccessDenied);
    return false;
  }
  if (::unlink(native.c_str()) != 0) {
    SetLastErrorForMissing(native, errno);
    return false;
  }
  return true;
}

bool MoveFileReplacing(const std::wstring& from, const std::wstring& to) {
  const std::string source = NativePath(from);
  if (::rename(source.c_str(), NativePath(to).c_str()) != 0) {
    SetLastErrorForMissing(source, errno);
    return false;
  }
  return true;
}

bool CreateFolder(const std::wstring& path) {
  const std::string native = NativePath(path);
  if (::mkdir(native.c_str(), 0755) != 0) {
    SetLastErrorForMissing(native, errno);
    return false;
  }
  return true;
}

std::vector<std::wstring> ListFolder(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  const std::string native = NativePath(folder);
  DIR* dir = ::opendir(native.c_str());
  if (!dir) {
    SetLastErrorFromErrno(errno);
    return names;
  }
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    bool isFile = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st;
      isFile = ::stat((native + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (!isFile) continue;
    std::wstring wide = Utf8ToWide(name);
    if (WildcardMatch(pattern.c_str(), wide.c_str())) names.push_back(std::move(wide));
  }
  ::closedir(dir);
  return names;
}

bool InspectEntry(const std::wstring& path, EntryInfo* info) {
  struct stat st;
  const std::string native = NativePath(path);
  if (::lstat(native.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      *info = EntryInfo{};
      return true;
    }
    SetLastErrorForMissing(native, errno);
    return false;
  }
  *info = EntryOfStat(st);
  return true;
}

bool QueryPathIdentity(const std::wstring& path, FileIdentity* identity) {
  struct stat st;
  const std::string native = NativePath(path);
  if (::stat(native.c_str(), &st) != 0) {
    SetLastErrorForMissing(native, errno);
    return false;
  }
  identity->volume = static_cast<uint64_t>(st.st_dev);
  identity->index = static_cast<uint64_t>(st.st_ino);
  return true;
}

FileHandle OpenOwnFile(const std::wstring& path, EntryInfo* found, bool* created) {
  const std::string native = NativePath(path);
  *found = EntryInfo{};
  // O_EXCL refuses any existing entry, a dangling link included; only then is an existing one
  // looked at.
  int fd = OpenPlainNoFollow(native, O_RDWR | O_CREAT | O_EXCL, found);
  *created = fd >= 0;
  if (fd < 0 && LastError() == kErrorAlreadyExists) fd = OpenPlainNoFollow(native, O_RDWR, found);
  return fd < 0 ? FileHandle{} : FileHandle{fd};
}

bool SetFileSizeByHandle(const FileHandle& file, uint64_t size) {
  if (::ftruncate(Fd(file), static_cast<off_t>(size)) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return true;
}

SameFileDelete DeleteFileIfSame(const std::wstring& path, const FileIdentity& identity, EntryInfo* found) {
  const std::string native = NativePath(path);
  if (!InspectEntry(path, found)) return SameFileDelete::kFailed;
  if (found->kind == EntryKind::kMissing) return SameFileDelete::kMissing;
  const bool regular = found->kind == EntryKind::kPlainFile || found->kind == EntryKind::kHardLinked;
  if (!regular || !(found->identity == identity)) return SameFileDelete::kNotTheSame;
  // unlink removes the name, never what a link points to.
  if (::unlink(native.c_str()) != 0) {
    if (errno == ENOENT) return SameFileDelete::kMissing;
    SetLastErrorFromErrno(errno);
    return SameFileDelete::kFailed;
  }
  return SameFileDelete::kDeleted;
}

bool GetVolumeSpace(const std::wstring& path, uint64_t* freeToCaller, uint64_t* totalBytes) {
  struct statvfs st;
  if (::statvfs(NativePath(path).c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  *freeToCaller = static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
  *totalBytes = static_cast<uint64_t>(st.f_blocks) * st.f_frsize;
  return true;
}

wchar_t PathSeparator() { return L'/'; }

}  // namespace velkor::platform
