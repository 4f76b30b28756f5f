#include "engine/medium_sync.h"

#include "engine/block_io.h"
#include "engine/held_files.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/volumes.h"

namespace velkor {

VerifyReadMode ChooseVerifyReadMode(const TestConfig& job) {
  VerifyReadMode mode;
  const uint32_t alignment = platform::DirectIoAlignment(job.filePath);
  if (alignment == 0 || job.blockSize == 0) return mode;
  platform::FileHandle probe = OpenTestFileForDirectRead(job.filePath);
  if (!probe.valid()) return mode;
  platform::CloseFile(probe);
  mode.pastCache = true;
  mode.alignment = alignment;
  mode.bounce = job.blockSize % alignment != 0 || RequestSize(job.ioChunkSize) % alignment != 0 ||
                job.startOffset % alignment != 0;
  return mode;
}

bool CanReadPastCache(const TestConfig& job) { return ChooseVerifyReadMode(job).pastCache; }

bool FlushAndEvictFile(const std::wstring& path, uint32_t* errorCode) {
  platform::FileHandle file = OpenTestFileForWrite(path, false);
  if (!file.valid()) {
    *errorCode = platform::LastError();
    return false;
  }
  const bool flushed = platform::FlushFileToMedium(file);
  if (!flushed) *errorCode = platform::LastError();
  platform::CloseFile(file);
  return flushed && EvictFile(path, errorCode);
}

bool DropDeviceCacheFor(const std::wstring& path, std::wstring* device, uint32_t* errorCode) {
  if (platform::DropBlockDeviceCache(path, device)) return true;
  *errorCode = platform::LastError();
  return false;
}

bool EvictFile(const std::wstring& path, uint32_t* errorCode) {
  if (platform::EvictFileFromCache(path)) return true;
  *errorCode = platform::LastError();
  return false;
}

}  // namespace velkor
