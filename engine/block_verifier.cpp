#include "engine/block_verifier.h"

#include <string>

#include "common/diag_log.h"
#include "engine/block_buffer.h"
#include "engine/block_io.h"
#include "engine/worker_common.h"
#include "engine/medium_sync.h"
#include "engine/pattern.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

// A direct read that meets the end of a file whose size is not a multiple of the alignment gets a
// short piece, and the next piece starts unaligned. Linux answers it with end of file; Windows
// may refuse it as an invalid parameter first. The cached path sees the same file as ending early,
// so report it the same way.
uint32_t ReadFailureCode(const platform::FileHandle& file, bool pastCache, uint64_t blockEnd) {
  const uint32_t code = platform::LastError();
  uint64_t size = 0;
  if (pastCache && code == platform::kErrorInvalidParameter &&
      platform::GetFileSizeByHandle(file, &size) && size < blockEnd) {
    return platform::kErrorHandleEof;
  }
  return code;
}

}  // namespace

void VerifyWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex) {
  VerifyReadMode mode = ChooseVerifyReadMode(job);
  platform::FileHandle file;
  if (mode.pastCache) file = platform::OpenFileForDirectRead(job.filePath);
  if (!file.valid()) {
    mode.pastCache = false;
    file = platform::OpenFileForRead(job.filePath);
  }
  if (!file.valid()) {
    const uint32_t code = platform::LastError();
    FailRun(*state);
    AppendDiagLog(L"FEHLER: Konnte Zieldatei nicht öffnen (Prüfen). Datei=" + job.filePath +
                  L", Worker=" + std::to_wstring(workerIndex) + L", " + FormatWindowsError(code));
    return;
  }

  const uint64_t total = state->totalBlocks.load();
  const size_t alignment = mode.pastCache && mode.alignment > 64 ? mode.alignment : 64;
  BlockBuffer buffer = AllocateWorkerBuffer(job, *state, workerIndex, alignment);
  if (!buffer) {
    platform::CloseFile(file);
    return;
  }

  // A worker count of 0 would never advance; such a job has no workers, so 1 changes nothing else.
  const uint64_t stride = job.workerCount > 0 ? job.workerCount : 1;
  for (uint64_t blockIndex = workerIndex; blockIndex < total; blockIndex += stride) {
    if (state->stopRequested.load()) break;
    const uint64_t offset = blockIndex * job.blockSize + job.startOffset;
    if (!ReadBlockAt(file, offset, buffer.get(), job.blockSize, job.ioChunkSize)) {
      const uint32_t code = ReadFailureCode(file, mode.pastCache, offset + job.blockSize);
      FailRun(*state);
      AppendDiagLog(L"FEHLER: Lesefehler. Datei=" + job.filePath + L", Worker=" +
                    std::to_wstring(workerIndex) + L", Block=" + std::to_wstring(blockIndex) +
                    L", Offset=" + std::to_wstring(offset) + L", Blockgröße=" +
                    std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(code));
      break;
    }
    if (!MatchesPattern(buffer.get(), job.blockSize, job.seed, blockIndex)) {
      const uint64_t n = state->errorCount.fetch_add(1) + 1;
      if (n <= kLoggedMismatches) {
        AppendDiagLog(L"FEHLER: Datenabweichung bei Block " + std::to_wstring(blockIndex) +
                      L", Offset=" + std::to_wstring(offset));
      }
      if (n >= job.errorLimit) {
        state->stopRequested.store(true);
        AppendDiagLog(L"Abbruch: Fehlergrenze erreicht.");
        break;
      }
    }
    state->blocksVerified.fetch_add(1);
  }
  platform::CloseFile(file);
}

}  // namespace velkor
