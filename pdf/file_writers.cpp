#include "pdf/file_writers.h"

#include <algorithm>
#include <cstdint>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"

namespace velkor {

bool WriteUtf8File(const std::wstring& path, std::wstring_view text) {
  return WriteBinaryFile(path, platform::WideToUtf8(text));
}

namespace {

bool WriteAllAndClose(platform::FileHandle file, std::string_view bytes) {
  if (!file.valid()) return false;
  // A write may move fewer bytes than asked (a full disk does that on POSIX); a file cut short
  // must not count as written, so keep writing until all bytes are out or a write fails.
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const uint32_t request = static_cast<uint32_t>(std::min<size_t>(bytes.size() - done, 0x40000000));
    uint32_t moved = 0;
    ok = platform::WriteFileSequential(file, bytes.data() + done, request, &moved);
    if (ok && moved == 0) {
      platform::SetLastError(platform::kErrorWriteFault);  // a write that moves nothing would loop
      ok = false;
    }
    done += moved;
  }
  // The caller's error message wants the write's reason, not whatever closing leaves behind.
  const uint32_t code = platform::LastError();
  platform::CloseFile(file);
  if (!ok) platform::SetLastError(code);
  return ok;
}

}  // namespace

bool WriteBinaryFile(const std::wstring& path, std::string_view bytes) {
  return WriteAllAndClose(platform::CreateFileTruncate(path), bytes);
}

bool WriteUtf8FileNew(const std::wstring& path, std::wstring_view text) {
  return WriteAllAndClose(platform::CreateFileNew(path), platform::WideToUtf8(text));
}

std::string ToWindows1252(std::wstring_view text) { return platform::WideToWindows1252(text); }

}  // namespace velkor
