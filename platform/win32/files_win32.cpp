#include <windows.h>

#include "platform/errors.h"
#include "platform/files.h"

namespace velkor::platform {
namespace {

HANDLE H(const FileHandle& file) { return reinterpret_cast<HANDLE>(file.raw); }

FileHandle Wrap(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE) return FileHandle{};
  return FileHandle{reinterpret_cast<intptr_t>(h)};
}

FileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return Wrap(::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

// The drive root ("E:\") or share root that holds path, for the volume queries.
std::wstring VolumeRootOf(const std::wstring& path) {
  // The root is never longer than the path itself.
  std::wstring root(path.size() + 2, L'\0');
  if (::GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return root.c_str();
  return path;
}

uint64_t IndexOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

EntryInfo EntryOfInformation(const BY_HANDLE_FILE_INFORMATION& info) {
  EntryInfo entry;
  entry.identity.volume = info.dwVolumeSerialNumber;
  entry.identity.index = IndexOf(info);
  entry.links = info.nNumberOfLinks;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    entry.kind = EntryKind::kReparsePoint;
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    entry.kind = EntryKind::kFolder;
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) {
    entry.kind = EntryKind::kDevice;
  } else {
    entry.kind = info.nNumberOfLinks > 1 ? EntryKind::kHardLinked : EntryKind::kPlainFile;
  }
  return entry;
}

// What an open handle is: only a disk file answers the file information query (a pipe or a
// device does not, or says so by its type).
EntryInfo EntryOfHandle(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)) {
    EntryInfo device;
    device.kind = EntryKind::kDevice;
    return device;
  }
  return EntryOfInformation(info);
}

// Opens the entry itself (a reparse point is not followed), then keeps the handle only for a plain
// file; anything else is closed again and fails with ERROR_ACCESS_DENIED.
HANDLE OpenPlainNoFollow(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                         EntryInfo* found, bool* existed) {
  HANDLE h = ::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                           flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  const DWORD error = ::GetLastError();
  if (existed) *existed = error == ERROR_ALREADY_EXISTS;
  if (h == INVALID_HANDLE_VALUE) {
    // A folder (or a junction) cannot be opened as a file: say what it is.
    EntryInfo entry;
    if (InspectEntry(path, &entry) && entry.kind != EntryKind::kPlainFile && entry.kind != EntryKind::kMissing) {
      *found = entry;
      ::SetLastError(ERROR_ACCESS_DENIED);
    } else {
      ::SetLastError(error);
    }
    return INVALID_HANDLE_VALUE;
  }
  *found = EntryOfHandle(h);
  if (found->kind != EntryKind::kPlainFile) {
    ::CloseHandle(h);
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

}  // namespace

FileHandle OpenFileForWrite(const std::wstring& path, bool writeThrough) {
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  if (writeThrough) flags |= FILE_FLAG_WRITE_THROUGH;
  EntryInfo found;
  return Wrap(OpenPlainNoFollow(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, flags,
                                &found, nullptr));
}

FileHandle OpenFileForRead(const std::wstring& path) {
  return Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
              FILE_ATTRIBUTE_NORMAL);
}

FileHandle OpenFileForDirectRead(const std::wstring& path) {
  return Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_NO_BUFFERING);
}

uint32_t DirectIoAlignment(const std::wstring& path) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  const std::wstring root = VolumeRootOf(path);
  if (::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
      bytesPerSector >= 512) {
    // 4096 covers drives that report 512-byte sectors but want 4 KiB physical alignment.
    return bytesPerSector > 4096 ? bytesPerSector : 4096;
  }
  return 4096;
}

FileHandle CreateFileTruncate(const std::wstring& path) {
  return Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

FileHandle CreateFileNew(const std::wstring& path) {
  return Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
}

FileHandle OpenFileForAppend(const std::wstring& path) {
  // Appends of another writer (a second copy of the program) land after ours, never over them.
  return Open(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

void CloseFile(FileHandle& file) {
  if (file.valid()) ::CloseHandle(H(file));
  file.raw = -1;
}

bool ReadFileAt(const FileHandle& file, uint64_t offset, void* buffer, uint32_t length, uint32_t* done) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD n = 0;
  if (!::ReadFile(H(file), buffer, length, &n, &at)) {
    // A positioned read at or past the end fails with ERROR_HANDLE_EOF; report it as a read
    // of 0 bytes, as a plain ReadFile after SetFilePointerEx does.
    if (::GetLastError() == ERROR_HANDLE_EOF) {
      *done = 0;
      return true;
    }
    *done = 0;
    return false;
  }
  *done = n;
  return true;
}

bool WriteFileAt(const FileHandle& file, uint64_t offset, const void* data, uint32_t length, uint32_t* done) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD n = 0;
  const BOOL ok = ::WriteFile(H(file), data, length, &n, &at);
  *done = ok ? n : 0;
  return ok != FALSE;
}

bool WriteFileSequential(const FileHandle& file, const void* data, uint32_t length, uint32_t* done) {
  DWORD n = 0;
  const BOOL ok = ::WriteFile(H(file), data, length, &n, nullptr);
  *done = ok ? n : 0;
  return ok != FALSE;
}

bool FlushFileToMedium(const FileHandle& file) { return ::FlushFileBuffers(H(file)) != FALSE; }

// The cache manager's lazy writer already writes cached data behind the writer.
void StartWriteBack(const FileHandle& file, uint64_t offset, uint64_t length) {}

// No call drops a range; the eviction of the whole file before verifying does it.
void DropWrittenRange(const FileHandle& file, uint64_t offset, uint64_t length) {}

bool EvictFileFromCache(const std::wstring& path) {
  // Windows has no call that drops one file's cached pages, and a non-cached open purges nothing
  // that another handle (a virus scanner, the indexer) keeps cached. The cache cannot answer for
  // the medium all the same: verification reads with FILE_FLAG_NO_BUFFERING (unaligned sizes
  // through a bounce buffer), and such reads go to the device whatever the cache holds. What is
  // left to do here is to make sure the file is there for those reads.
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

bool GetFileSizeByHandle(const FileHandle& file, uint64_t* size) {
  LARGE_INTEGER value{};
  if (!::GetFileSizeEx(H(file), &value)) return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool GetFileSizeByPath(const std::wstring& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAtPath(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

bool MoveFileReplacing(const std::wstring& from, const std::wstring& to) {
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool CreateFolder(const std::wstring& path) { return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

std::vector<std::wstring> ListFolder(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  std::wstring query = folder;
  if (!query.empty() && query.back() != L'\\' && query.back() != L'/') query += L'\\';
  query += pattern;
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW(query.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

bool InspectEntry(const std::wstring& path, EntryInfo* info) {
  // Backup semantics open folders too; query access only, so nothing is locked or changed.
  HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      *info = EntryInfo{};
      return true;
    }
    return false;
  }
  *info = EntryOfHandle(h);
  ::CloseHandle(h);
  return true;
}

bool QueryPathIdentity(const std::wstring& path, FileIdentity* identity) {
  HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const BOOL ok = ::GetFileInformationByHandle(h, &info);
  const DWORD error = ::GetLastError();
  ::CloseHandle(h);
  if (!ok) {
    ::SetLastError(error);
    return false;
  }
  identity->volume = info.dwVolumeSerialNumber;
  identity->index = IndexOf(info);
  return true;
}

FileHandle OpenOwnFile(const std::wstring& path, EntryInfo* found, bool* created) {
  *found = EntryInfo{};
  bool existed = false;
  HANDLE h = OpenPlainNoFollow(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               found, &existed);
  *created = h != INVALID_HANDLE_VALUE && !existed;
  return Wrap(h);
}

bool SetFileSizeByHandle(const FileHandle& file, uint64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  return ::SetFileInformationByHandle(H(file), FileEndOfFileInfo, &end, sizeof(end)) != FALSE;
}

SameFileDelete DeleteFileIfSame(const std::wstring& path, const FileIdentity& identity, EntryInfo* found) {
  // The handle holds the very entry that is checked, and deleting through it deletes that one.
  HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      *found = EntryInfo{};
      return SameFileDelete::kMissing;
    }
    return SameFileDelete::kFailed;
  }
  *found = EntryOfHandle(h);
  const bool regular = found->kind == EntryKind::kPlainFile || found->kind == EntryKind::kHardLinked;
  if (!regular || !(found->identity == identity)) {
    ::CloseHandle(h);
    return SameFileDelete::kNotTheSame;
  }
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  const BOOL ok = ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof(disposition));
  const DWORD error = ::GetLastError();
  ::CloseHandle(h);
  if (!ok) {
    ::SetLastError(error);
    return SameFileDelete::kFailed;
  }
  return SameFileDelete::kDeleted;
}

bool GetVolumeSpace(const std::wstring& path, uint64_t* freeToCaller, uint64_t* totalBytes) {
  ULARGE_INTEGER available{}, total{}, totalFree{};
  if (!::GetDiskFreeSpaceExW(path.c_str(), &available, &total, &totalFree)) return false;
  *freeToCaller = available.QuadPart;
  *totalBytes = total.QuadPart;
  return true;
}

wchar_t PathSeparator() { return L'\\'; }

}  // namespace velkor::platform
