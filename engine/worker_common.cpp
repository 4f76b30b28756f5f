#include "engine/worker_common.h"

#include <string>

#include "common/diag_log.h"
#include "platform/errors.h"

namespace velkor {

void FailRun(TestState& state) {
  state.errorCount.fetch_add(1);
  state.stopRequested.store(true);
}

BlockBuffer AllocateWorkerBuffer(const TestConfig& job, TestState& state, uint32_t workerIndex, size_t alignment) {
  BlockBuffer buffer = AllocateBlockBuffer(job.blockSize, alignment);
  if (!buffer) {
    FailRun(state);
    AppendDiagLog(L"FEHLER: Kein Speicher für den Blockpuffer. Datei=" + job.filePath + L", Worker=" +
                  std::to_wstring(workerIndex) + L", Blockgröße=" + std::to_wstring(job.blockSize) + L", " +
                  FormatWindowsError(platform::kErrorNotEnoughMemory));
  }
  return buffer;
}

}  // namespace velkor
