// Making verification read the medium, not the system cache: a read-back served from memory would
// report data as verified that the medium may never have kept.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_config.h"

namespace velkor {

// How the verify workers of a job open and read its file.
struct VerifyReadMode {
  bool pastCache = false;  // direct reads (no system cache)
  uint32_t alignment = 0;  // what offsets, request sizes and buffers are multiples of, if so
};

// Past the cache when the block size, the request size (RequestSize(job.ioChunkSize)) and the start
// offset are multiples of the volume's direct-I/O alignment and job.filePath opens for direct
// reads; through the cache otherwise (a missing file included). Every verify worker of the job
// makes the same choice; the job runner asks once to log a "Hinweis:" line for the cached case.
VerifyReadMode ChooseVerifyReadMode(const TestConfig& job);

// ChooseVerifyReadMode(job).pastCache.
bool CanReadPastCache(const TestConfig& job);

// After a write stage: makes everything written to path reach the medium, then drops the file's
// pages from the system cache. On false *errorCode holds the Windows error code of the step that
// failed (opening, flushing or evicting).
bool FlushAndEvictFile(const std::wstring& path, uint32_t* errorCode);

// Before a verify-only job: drops the file's cached pages (they are clean: nothing was written).
// On false *errorCode holds the Windows error code.
bool EvictFile(const std::wstring& path, uint32_t* errorCode);

}  // namespace velkor
