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
  uint32_t alignment = 0;  // what offsets, request sizes and buffers of direct reads are multiples of
  bool bounce = false;     // blocks, requests or offsets are not: read through an aligned bounce buffer
};

// Past the cache whenever job.filePath opens for direct reads; where the block size, the request
// size (RequestSize(job.ioChunkSize)) or the start offset is no multiple of the volume's direct-I/O
// alignment, through a bounce buffer. Through the cache only where the file system refuses direct
// reads (a missing file included). Every verify worker of the job makes the same choice; the job
// runner asks once to log a "Hinweis:" line for the cached case.
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

// Before any verify stage: where the file system reads its block device through the device's own
// cache (a file system in user space: NTFS, exFAT on Linux), writes that cache back and drops it.
// True when done or not needed; false when the device could not be flushed or dropped (*device
// names it, *errorCode tells why): the check may then be served from that cache.
bool DropDeviceCacheFor(const std::wstring& path, std::wstring* device, uint32_t* errorCode);

// The "Hinweis:" line for that case, with what avoids it.
inline constexpr wchar_t kDeviceCacheHint[] =
    L"Hinweis: Der Zwischenspeicher des Geräts unter diesem Dateisystem (FUSE über einem Blockgerät) konnte "
    L"nicht geleert werden; die Prüfung kann Daten aus dem Speicher statt vom Medium lesen. Abhilfe: als root "
    L"prüfen oder das Laufwerk vor \"Nur prüfen\" aus- und wieder einhängen.";

}  // namespace velkor
