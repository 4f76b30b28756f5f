#include "engine/block_writer.h"

#include <string>

#include "common/diag_log.h"
#include "engine/block_buffer.h"
#include "engine/block_io.h"
#include "engine/worker_common.h"
#include "engine/pattern.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

// The Windows open flags the handle stands for, as the open failure line shows them.
constexpr uint32_t kAttributeNormal = 0x80;
constexpr uint32_t kFlagWriteThrough = 0x80000000u;

}  // namespace

void WriteWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex) {
  const uint32_t flags = kAttributeNormal | (job.writeThrough ? kFlagWriteThrough : 0);
  platform::FileHandle file = platform::OpenFileForWrite(job.filePath, job.writeThrough);
  if (!file.valid()) {
    const uint32_t code = platform::LastError();
    FailRun(*state);
    AppendDiagLog(L"FEHLER: Konnte Zieldatei nicht öffnen (Schreiben). Datei=" + job.filePath +
                  L", Worker=" + std::to_wstring(workerIndex) + L", Flags=" + std::to_wstring(flags) +
                  L", " + FormatWindowsError(code));
    return;
  }

  const uint64_t total = state->totalBlocks.load();
  BlockBuffer buffer = AllocateWorkerBuffer(job, *state, workerIndex, 64);
  if (!buffer) {
    platform::CloseFile(file);
    return;
  }

  // A worker count of 0 would never advance; such a job has no workers, so 1 changes nothing else.
  const uint64_t stride = job.workerCount > 0 ? job.workerCount : 1;
  for (uint64_t blockIndex = workerIndex; blockIndex < total; blockIndex += stride) {
    if (state->stopRequested.load()) break;
    FillPattern(buffer.get(), job.blockSize, job.seed, blockIndex);
    const uint64_t offset = blockIndex * job.blockSize + job.startOffset;
    if (!WriteBlockAt(file, offset, buffer.get(), job.blockSize, job.ioChunkSize)) {
      const uint32_t code = platform::LastError();
      FailRun(*state);
      AppendDiagLog(L"FEHLER: Schreibfehler. Datei=" + job.filePath + L", Worker=" +
                    std::to_wstring(workerIndex) + L", Block=" + std::to_wstring(blockIndex) +
                    L", Offset=" + std::to_wstring(offset) + L", Blockgröße=" +
                    std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(code));
      break;
    }
    state->blocksWritten.fetch_add(1);
  }
  platform::CloseFile(file);
}

}  // namespace velkor
