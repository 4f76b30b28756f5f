#include "engine/block_writer.h"

#include <algorithm>
#include <string>

#include "common/diag_log.h"
#include "engine/block_io.h"
#include "engine/diagnosis_collector.h"
#include "engine/worker_common.h"
#include "engine/pattern.h"
#include "engine/target_guard.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

// The Windows open flags the handle stands for, as the open failure line shows them.
constexpr uint32_t kAttributeNormal = 0x80;
constexpr uint32_t kFlagWriteThrough = 0x80000000u;

// How far behind the writer the companion drops written pages from the cache, far enough that the
// medium has taken them (pages still in flight are kept; the eviction before verifying takes them),
// and in steps of how many bytes.
constexpr uint64_t kDropLagBytes = 33554432;
constexpr uint64_t kDropStepBytes = 8388608;

// A write refused because the file would grow past what the file system allows (FAT32's 4 GiB).
bool IsFileSizeLimit(uint32_t code) {
  return code == platform::kErrorFileTooLarge || code == platform::kErrorFileSystemLimitation;
}

// The file range from the first to the last of count blocks from the worker's ordinal first.
void OwnRange(const TestConfig& job, uint32_t workerIndex, uint64_t first, uint64_t count, uint64_t* offset,
              uint64_t* length) {
  const uint64_t begin = OwnBlockIndex(first, job.workerCount, workerIndex) * job.blockSize;
  const uint64_t end = (OwnBlockIndex(first + count - 1, job.workerCount, workerIndex) + 1) * job.blockSize;
  *offset = begin + job.startOffset;
  *length = end - begin;
}

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
      if (IsFileSizeLimit(code)) {
        // The file system's rule, not the medium's failure: no error, but no full check either.
        RequestStop(state, StopReason::kFileSystemLimit);
        AppendDiagLog(L"FEHLER: Das Dateisystem nimmt keine so große Datei an (Grenze des Dateisystems, kein Fehler "
                      L"des Mediums). Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                      L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) + L", " +
                      FormatWindowsError(code));
        PostStatusText(L"Fehler: Grenze des Dateisystems erreicht, Testdatei zu groß.");
        return false;
      }
      FailRun(state);
      AppendDiagLog(L"FEHLER: Schreibfehler. Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                    L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) +
                    L", Blockgröße=" + std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(code));
      return false;
    }
    CountWrittenBlock(job, state);
  }
  // Let the medium work on the slot while the next one is written (write-through waited already).
  if (!job.writeThrough && slot.count > 0) {
    uint64_t offset = 0, length = 0;
    OwnRange(job, workerIndex, slot.first, slot.count, &offset, &length);
    platform::StartWriteBack(file, offset, length);
  }
  return true;
}

}  // namespace

void WriteWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex) {
  const uint32_t flags = kAttributeNormal | (job.writeThrough ? kFlagWriteThrough : 0);
  // Not even opened where the target folder now leads elsewhere; then checked before each slot.
  int64_t nextTargetCheck = 0;
  if (!TargetStillInPlaceSoon(*state, &nextTargetCheck)) return;
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
      const uint64_t slotBytes = std::max<uint64_t>(1, uint64_t{slots.blocksPerSlot} * job.blockSize);
      const uint64_t dropLag = std::max<uint64_t>(slots.slotCount, kDropLagBytes / slotBytes);
      const uint64_t dropStep = std::max<uint64_t>(1, kDropStepBytes / slotBytes);
      RunSlotPipeline(
          slots,
          [&](BlockSlot& slot, uint64_t n) {
            // The cache need not hold what the medium has: verification reads from the medium
            // anyway, and the rest of the system keeps its cache.
            if (slots.slotCount > 1 && n % dropStep == 0 && n >= dropLag + dropStep) {
              uint64_t offset = 0, length = 0;
              OwnRange(job, workerIndex, (n - dropLag - dropStep) * slots.blocksPerSlot,
                       dropStep * slots.blocksPerSlot, &offset, &length);
              platform::DropWrittenRange(file, offset, length);
            }
            slot.first = n * slots.blocksPerSlot;
            slot.count = static_cast<uint32_t>(std::min<uint64_t>(slots.blocksPerSlot, own - slot.first));
            if (state->stopRequested.load()) {  // saves the work; the writer stops anyway
              slot.count = 0;
              return false;
            }
            for (uint32_t j = 0; j < slot.count; ++j) {
              FillPattern(slot.data + static_cast<size_t>(j) * job.blockSize, job.blockSize, job.seed,
                          job.patternBase + OwnBlockIndex(slot.first + j, job.workerCount, workerIndex));
            }
            return slot.first + slot.count < own;
          },
          [&](BlockSlot& slot) {
            return TargetStillInPlaceSoon(*state, &nextTargetCheck) && WriteSlot(job, *state, workerIndex, file, slot);
          });
    }
  }
  platform::CloseFile(file);
}

}  // namespace velkor
