#include "engine/block_writer.h"

#include <algorithm>
#include <string>

#include "common/diag_log.h"
#include "engine/block_io.h"
#include "engine/block_order.h"
#include "engine/diagnosis_collector.h"
#include "engine/held_files.h"
#include "engine/worker_common.h"
#include "engine/pattern.h"
#include "engine/piece_lanes.h"
#include "engine/target_guard.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

// The Windows open flags the handle stands for, as the open failure line shows them.
constexpr uint32_t kAttributeNormal = 0x80;
constexpr uint32_t kFlagWriteThrough = 0x80000000u;

// How far behind the end of what the writers wrote the companions drop written pages from the
// cache, far enough that the medium has taken them (pages still in flight are kept; the eviction
// before verifying takes them), and in steps of how many bytes.
constexpr uint64_t kDropLagBytes = 33554432;
constexpr uint64_t kDropStepBytes = 8388608;

// Drops the written blocks that lie lagBlocks behind the writers' end, in whole steps of
// stepBlocks; each range once, by whichever companion gets to it first.
void DropBehindWriters(const TestConfig& job, BlockOrder& order, const platform::FileHandle& file,
                       uint64_t lagBlocks, uint64_t stepBlocks) {
  const uint64_t written = order.writtenEnd.load();
  uint64_t dropped = order.droppedEnd.load();
  if (written < lagBlocks || written - lagBlocks < dropped + stepBlocks) return;
  const uint64_t end = dropped + (written - lagBlocks - dropped) / stepBlocks * stepBlocks;
  if (!order.droppedEnd.compare_exchange_strong(dropped, end)) return;
  platform::DropWrittenRange(file, dropped * job.blockSize + job.startOffset, (end - dropped) * job.blockSize);
}

// Writes the slot's blocks in order once every block before them is written, each after a look
// at the stop flag, and counts each one written. False when the worker stops: a stop request, a
// co-worker that stopped, or a write failure (logged, run stopped).
bool WriteSlot(const TestConfig& job, TestState& state, uint32_t workerIndex, PieceLanes& lanes,
               const BlockSlot& slot) {
  if (slot.count == 0) return true;
  if (!WaitForTurn(state.blockOrder, slot.first)) return false;
  for (uint32_t j = 0; j < slot.count; ++j) {
    if (state.stopRequested.load()) return false;
    const uint64_t blockIndex = slot.first + j;
    const uint64_t offset = blockIndex * job.blockSize + job.startOffset;
    if (!WritePiecesAt(lanes, offset, slot.data + static_cast<size_t>(j) * job.blockSize, job.blockSize,
                       job.ioChunkSize)) {
      const uint32_t code = platform::LastError();
      if (IsFileSizeLimit(code, job.isFat32, offset + job.blockSize)) {
        // The file system's rule, not the medium's failure: no error, but no full check either.
        RequestStop(state, StopReason::kFileSystemLimit);
        AppendDiagLog(L"FEHLER: Das Dateisystem nimmt keine so große Datei an (Grenze des Dateisystems, kein Fehler "
                      L"des Mediums). Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                      L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) + L", " +
                      FormatWindowsError(code));
        PostStatusText(L"Fehler: Grenze des Dateisystems erreicht, Testdatei zu groß.");
        return false;
      }
      FailRunUnlessTargetGone(state, code);
      AppendDiagLog(L"FEHLER: Schreibfehler. Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                    L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) +
                    L", Blockgröße=" + std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(code));
      return false;
    }
    CountWrittenBlock(job, state);
  }
  EndTurn(state.blockOrder, slot.first + slot.count);
  // Let the medium work on the slot while the next one is written (write-through waited already).
  if (!job.writeThrough) {
    platform::StartWriteBack(lanes.files[0], slot.first * job.blockSize + job.startOffset,
                             uint64_t{slot.count} * job.blockSize);
  }
  return true;
}

}  // namespace

bool IsFileSizeLimit(uint32_t code, bool fat32, uint64_t writeEnd) {
  if (code == platform::kErrorFileTooLarge || code == platform::kErrorFileSystemLimitation) return true;
  // Windows' FAT driver says "disk full" for a write past a FAT32 file's 4 GiB - 1 bytes.
  return fat32 && code == platform::kErrorDiskFull && writeEnd > kFat32FileSizeLimit;
}

void WriteWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex) {
  const uint32_t flags = kAttributeNormal | (job.writeThrough ? kFlagWriteThrough : 0);
  // Not even opened where the target folder now leads elsewhere; then checked before each slot.
  int64_t nextTargetCheck = 0;
  if (!TargetStillInPlaceSoon(*state, &nextTargetCheck)) return;
  // Write-through pieces go to the medium several at a time, each lane with a handle of its own.
  PieceLanes lanes;
  const uint32_t handles = job.writeThrough ? PiecesInFlight(job.workerCount) : 1;
  while (lanes.files.size() < handles) {
    platform::FileHandle file = OpenTestFileForWrite(job.filePath, job.writeThrough, &state->stopRequested);
    if (!file.valid()) {
      const uint32_t code = platform::LastError();
      for (platform::FileHandle& open : lanes.files) platform::CloseFile(open);
      if (state->stopRequested.load() && IsHeldFileError(code)) return;  // gave up waiting for a stop
      StopOnOpenFailure(*state, code);
      AppendDiagLog(L"FEHLER: Konnte Zieldatei nicht öffnen (Schreiben). Datei=" + job.filePath +
                    L", Worker=" + std::to_wstring(workerIndex) + L", Flags=" + std::to_wstring(flags) +
                    L", " + FormatWindowsError(code) + HeldFileNote(code));
      PostStatusText(L"Fehler: Testdatei konnte nicht geöffnet werden.");
      return;
    }
    lanes.files.push_back(file);
  }
  const platform::FileHandle& file = lanes.files[0];
  StartPieceLanes(lanes);

  // The companion thread takes the next blocks in file order and generates their patterns while
  // this one writes.
  BlockOrder& order = state->blockOrder;
  const uint64_t total = state->totalBlocks.load();
  if (total > 0 && order.nextBlock.load() < total) {
    WorkerSlots slots = AllocateWorkerSlots(job, *state, workerIndex, 64, total);
    if (slots.slotCount > 0) {
      const uint64_t blockSize = std::max<uint64_t>(1, job.blockSize);
      const uint64_t dropLag = std::max<uint64_t>(1, kDropLagBytes / blockSize);
      const uint64_t dropStep = std::max<uint64_t>(1, kDropStepBytes / blockSize);
      RunSlotPipeline(
          slots,
          [&](BlockSlot& slot, uint64_t) {
            // The cache need not hold what the medium has: verification reads from the medium
            // anyway, and the rest of the system keeps its cache.
            if (slots.slotCount > 1) DropBehindWriters(job, order, file, dropLag, dropStep);
            slot.count = 0;
            if (state->stopRequested.load()) return false;  // saves the work; the writer stops anyway
            slot.count = ClaimBlocks(order, total, slots.blocksPerSlot, &slot.first);
            for (uint32_t j = 0; j < slot.count; ++j) {
              FillPattern(slot.data + static_cast<size_t>(j) * job.blockSize, job.blockSize, job.seed,
                          job.patternBase + slot.first + j);
            }
            return slot.count > 0 && slot.first + slot.count < total;
          },
          [&](BlockSlot& slot) {
            if (TargetStillInPlaceSoon(*state, &nextTargetCheck) && WriteSlot(job, *state, workerIndex, lanes, slot)) {
              return true;
            }
            AbandonTurns(order);  // its blocks stay unwritten: nobody waits for them
            return false;
          });
    }
  }
  StopPieceLanes(lanes);
  platform::CloseFile(lanes.files[0]);
}

}  // namespace velkor
