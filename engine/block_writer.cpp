#include "engine/block_writer.h"

#include <algorithm>
#include <string>

#include "common/diag_log.h"
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

// Writes the slot's blocks in order, each after a look at the stop flag, and counts each one
// written. False when the worker stops: a stop request or a write failure (logged, run stopped).
bool WriteSlot(const TestConfig& job, TestState& state, uint32_t workerIndex, const platform::FileHandle& file,
               const BlockSlot& slot) {
  for (uint32_t j = 0; j < slot.count; ++j) {
    if (state.stopRequested.load()) return false;
    const uint64_t blockIndex = OwnBlockIndex(slot.first + j, job.workerCount, workerIndex);
    const uint64_t offset = blockIndex * job.blockSize + job.startOffset;
    if (!WriteBlockAt(file, offset, slot.data + static_cast<size_t>(j) * job.blockSize, job.blockSize,
                      job.ioChunkSize)) {
      const uint32_t code = platform::LastError();
      FailRun(state);
      AppendDiagLog(L"FEHLER: Schreibfehler. Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                    L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) +
                    L", Blockgröße=" + std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(code));
      return false;
    }
    state.blocksWritten.fetch_add(1);
  }
  // Let the medium work on the slot while the next one is written (write-through waited already).
  if (!job.writeThrough && slot.count > 0) {
    const uint64_t begin = OwnBlockIndex(slot.first, job.workerCount, workerIndex) * job.blockSize + job.startOffset;
    const uint64_t end = (OwnBlockIndex(slot.first + slot.count - 1, job.workerCount, workerIndex) + 1) * job.blockSize +
                         job.startOffset;
    platform::StartWriteBack(file, begin, end - begin);
  }
  return true;
}

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

  // The companion thread generates the next slot's patterns while this one writes.
  const uint64_t own = OwnBlockCount(state->totalBlocks.load(), job.workerCount, workerIndex);
  if (own > 0) {
    WorkerSlots slots = AllocateWorkerSlots(job, *state, workerIndex, 64, own);
    if (slots.slotCount > 0) {
      RunSlotPipeline(
          slots,
          [&](BlockSlot& slot, uint64_t n) {
            slot.first = n * slots.blocksPerSlot;
            slot.count = static_cast<uint32_t>(std::min<uint64_t>(slots.blocksPerSlot, own - slot.first));
            if (state->stopRequested.load()) {  // saves the work; the writer stops anyway
              slot.count = 0;
              return false;
            }
            for (uint32_t j = 0; j < slot.count; ++j) {
              FillPattern(slot.data + static_cast<size_t>(j) * job.blockSize, job.blockSize, job.seed,
                          OwnBlockIndex(slot.first + j, job.workerCount, workerIndex));
            }
            return slot.first + slot.count < own;
          },
          [&](BlockSlot& slot) { return WriteSlot(job, *state, workerIndex, file, slot); });
    }
  }
  platform::CloseFile(file);
}

}  // namespace velkor
