// The private-profile functions over platform/ini_text.h: the file is read whole, changed in
// memory and replaced at once, so a failed write leaves the old file intact.
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/errors.h"
#include "platform/ini_text.h"
#include "platform/posix/posix_util.h"
#include "platform/text.h"

namespace velkor::platform {
namespace {

// The file's bytes; a missing file reads as empty. False for any other failure.
bool ReadWholeFile(const std::string& path, std::string* bytes, mode_t* mode) {
  bytes->clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    SetLastErrorFromErrno(errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      ::close(fd);
      SetLastError(kErrorAccessDenied);
      return false;
    }
    if (mode) *mode = st.st_mode & 07777;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastErrorFromErrno(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes->append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Replaces the file by writing a sibling and renaming it over the old one. A symbolic link is
// followed, so the link stays and its target gets the new text.
bool ReplaceFile(const std::string& path, const std::string& bytes, mode_t mode) {
  char resolved[PATH_MAX];
  const std::string target = ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
  const std::string temporary = target + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  int e = errno;
  if (ok && mode != 0) ::fchmod(fd, mode);  // the old permissions, as a courtesy
  if (::close(fd) != 0 && ok) {
    ok = false;
    e = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    e = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    SetLastErrorFromErrno(e);
  }
  return ok;
}

}  // namespace

std::wstring ReadIniString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue,
                               uint32_t bufferChars) {
  std::string bytes;
  std::string value;
  if (ReadWholeFile(NativePath(file), &bytes, nullptr) &&
      FindIniValue(bytes, WideToUtf8(section), WideToUtf8(key), &value)) {
    return ProfileStringOfValue(Utf8ToWide(value), bufferChars);
  }
  return ProfileStringOfValue(defaultValue, bufferChars);
}

int32_t ReadIniInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                       int32_t defaultValue) {
  const std::wstring text = ReadIniString(file, section, key, L"", kProfileIntBufferChars);
  if (text.empty()) return defaultValue;
  return ProfileIntOfText(text);
}

bool WriteIniString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  const std::string path = NativePath(file);
  std::string bytes;
  mode_t mode = 0;
  if (!ReadWholeFile(path, &bytes, &mode)) return false;
  bool changed = false;
  const std::string updated = SetIniValue(bytes, WideToUtf8(section), WideToUtf8(key), WideToUtf8(value), &changed);
  if (!changed) return true;
  return ReplaceFile(path, updated, mode);
}

}  // namespace velkor::platform
