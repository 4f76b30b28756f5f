// Files and folders. Every operation that fails returns false (or an invalid handle) and leaves
// the reason in LastError().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::platform {

// An open file. Owned by whoever opened it; closed with CloseFile.
struct FileHandle {
  intptr_t raw = -1;
  bool valid() const { return raw != -1; }
};

// Opens an existing plain file (a regular file with one name) for writing, shared for reading and
// writing, without following a link: a link, a file with several names, a folder or a device
// fails with kErrorAccessDenied. With writeThrough every write reaches the medium before it returns.
FileHandle OpenFileForWrite(const std::wstring& path, bool writeThrough);

// Opens an existing file for reading, shared for reading and writing, through the system cache.
// Only a plain file opens: a pipe, device or folder fails at once with kErrorAccessDenied.
FileHandle OpenFileForRead(const std::wstring& path);

// Opens an existing file for reading past the system cache (Windows FILE_FLAG_NO_BUFFERING,
// Linux O_DIRECT). REQUIRES of every read on it: offset, length and buffer address are multiples
// of DirectIoAlignment(). Fails where the file system does not allow it.
FileHandle OpenFileForDirectRead(const std::wstring& path);

// The alignment that reads on a handle from OpenFileForDirectRead need for the file at path (at
// least the volume's sector size).
uint32_t DirectIoAlignment(const std::wstring& path);

// Creates the file or truncates an existing one, for writing, shared for reading.
FileHandle CreateFileTruncate(const std::wstring& path);

// Creates the file only if it does not exist yet (for writing, shared for reading); fails with
// kErrorFileExists otherwise.
FileHandle CreateFileNew(const std::wstring& path);

// Opens for appending, creating the file if missing, shared for reading and writing (every write
// lands at the end, whoever else appends).
FileHandle OpenFileForAppend(const std::wstring& path);

void CloseFile(FileHandle& file);

// One positioned request. *done receives the bytes moved; a request that moves 0 bytes returns
// true with *done == 0, and the caller decides what that means.
bool ReadFileAt(const FileHandle& file, uint64_t offset, void* buffer, uint32_t length, uint32_t* done);
bool WriteFileAt(const FileHandle& file, uint64_t offset, const void* data, uint32_t length, uint32_t* done);

// Appends (handles from OpenFileForAppend) or writes at the current position.
bool WriteFileSequential(const FileHandle& file, const void* data, uint32_t length, uint32_t* done);

// Makes everything written on the handle reach the medium.
bool FlushFileToMedium(const FileHandle& file);

// Asks the system to start writing the range's cached data to the medium now and returns without
// waiting for it (it may wait while the medium's queue is full), so that the medium works while
// the writer goes on, as the Windows cache manager arranges by itself. Advisory: no result.
void StartWriteBack(const FileHandle& file, uint64_t offset, uint64_t length);

// Drops the range's cached pages that already reached the medium (pages still being written stay).
// Advisory: no result; does nothing where the system has no such call for a range.
void DropWrittenRange(const FileHandle& file, uint64_t offset, uint64_t length);

// Drops the file's pages from the system cache, so the next cached read comes from the medium.
// REQUIRES: the file's data was flushed. Windows has no such call: there it only checks that the
// file opens, and reads past the cache (OpenFileForDirectRead) are what reach the medium.
bool EvictFileFromCache(const std::wstring& path);

bool GetFileSizeByHandle(const FileHandle& file, uint64_t* size);
bool GetFileSizeByPath(const std::wstring& path, uint64_t* size);
bool FileExists(const std::wstring& path);

// Deletes a file. A missing file fails with kErrorFileNotFound (or kErrorPathNotFound).
bool DeleteFileAtPath(const std::wstring& path);

// Puts the file from in the place of to (same folder), replacing an existing to in one step:
// whoever opens to finds the old file or the new one, never a part of either.
bool MoveFileReplacing(const std::wstring& from, const std::wstring& to);

// Creates one folder. Fails with kErrorAlreadyExists when it exists (callers usually ignore it).
bool CreateFolder(const std::wstring& path);

// Names (not paths) of the plain files in folder that match pattern ('*' and '?' wildcards,
// case-insensitive as on Windows), in the order the system lists them.
std::vector<std::wstring> ListFolder(const std::wstring& folder, const std::wstring& pattern);

// Who a file or folder is: the volume that holds it and its number there (Windows: the volume
// serial number and the file index; elsewhere st_dev and st_ino). Two paths with equal identities
// name the same file.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// What a folder entry is, seen without following it.
enum class EntryKind : uint8_t {
  kMissing,       // there is no entry of that name
  kPlainFile,     // a regular file with one name
  kHardLinked,    // a regular file with more than one name
  kSymbolicLink,  // a symbolic link (a POSIX one; on Windows a reparse point)
  kReparsePoint,  // a Windows symbolic link, junction or other reparse point
  kFolder,
  kDevice,        // a device, pipe, socket or other special file
};

struct EntryInfo {
  EntryKind kind = EntryKind::kMissing;
  uint32_t links = 0;     // names of a regular file
  FileIdentity identity;  // of the entry itself, not of what a link points to
};

// Describes the entry path names without following it. A missing entry is a success with
// kMissing; false (reason in LastError) when the system cannot tell.
bool InspectEntry(const std::wstring& path, EntryInfo* info);

// The identity of what path leads to now, links and mount points followed (a folder as well as a
// file).
bool QueryPathIdentity(const std::wstring& path, FileIdentity* identity);

// Opens path for reading and writing a file of our own (read: its content is checked before it is
// emptied) without following a link or truncating anything:
// creates it (*created true) or opens it when it is already a plain file. Any other entry (a link,
// a reparse point, a file with several names, a folder, a device) is left as it is: the result is
// invalid, *found says what is there and LastError is kErrorAccessDenied. On success *found
// describes the opened file (kPlainFile, its identity).
FileHandle OpenOwnFile(const std::wstring& path, EntryInfo* found, bool* created);

// Sets the size of an open file (0 empties it).
bool SetFileSizeByHandle(const FileHandle& file, uint64_t size);

// What DeleteFileIfSame did.
enum class SameFileDelete : uint8_t { kDeleted, kMissing, kNotTheSame, kFailed };

// Deletes the entry path only when it is a regular file with the given identity, never following
// a link; anything else there stays untouched (kNotTheSame, *found says what it is). kFailed
// leaves the reason in LastError.
SameFileDelete DeleteFileIfSame(const std::wstring& path, const FileIdentity& identity, EntryInfo* found);

// Free bytes the caller may use and total bytes of the volume that holds path.
bool GetVolumeSpace(const std::wstring& path, uint64_t* freeToCaller, uint64_t* totalBytes);

// The platform's path separator ('\\' on Windows, '/' elsewhere).
wchar_t PathSeparator();

}  // namespace velkor::platform
