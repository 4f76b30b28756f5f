#include "engine/block_verifier.h"

#include <algorithm>
#include <string>

#include "common/diag_log.h"
#include "engine/block_io.h"
#include "engine/block_order.h"
#include "engine/diagnosis_collector.h"
#include "engine/held_files.h"
#include "engine/target_guard.h"
#include "engine/worker_common.h"
#include "engine/medium_sync.h"
#include "engine/pattern.h"
#include "engine/piece_lanes.h"
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

// Takes the next blocks in file order and reads them into the slot until it is full, a stop
// request or a failed read (the slot then ends with that block, marked failed). False when no slot
// follows.
bool ReadSlot(const TestConfig& job, TestState& state, PieceLanes& lanes, const VerifyReadMode& mode,
              uint8_t* bounce, uint32_t blocksPerSlot, uint64_t total, BlockSlot& slot) {
  const platform::FileHandle& file = lanes.files[0];
  const bool pastCache = mode.pastCache;
  slot.count = 0;
  slot.failed = false;
  if (state.stopRequested.load()) return false;
  const uint32_t want = ClaimBlocks(state.blockOrder, total, blocksPerSlot, &slot.first);
  for (uint32_t j = 0; j < want; ++j) {
    if (state.stopRequested.load()) return false;
    const uint64_t offset = (slot.first + j) * job.blockSize + job.startOffset;
    slot.count = j + 1;
    uint8_t* data = slot.data + static_cast<size_t>(j) * job.blockSize;
    const bool read = bounce != nullptr
                          ? ReadBlockAtAligned(file, offset, data, job.blockSize, job.ioChunkSize, mode.alignment, bounce)
                          : ReadPiecesAt(lanes, offset, data, job.blockSize, job.ioChunkSize);
    if (!read) {
      slot.failed = true;
      slot.errorCode = ReadFailureCode(file, pastCache, offset + job.blockSize);
      return false;
    }
  }
  return want > 0 && slot.first + want < total;
}

// Compares the slot's blocks in order, each after a look at the stop flag, as the blocks' own
// reads would have come: a failed read is reported when its block's turn comes. False when the
// worker stops: a stop request, a read failure or the error limit.
bool CheckSlot(const TestConfig& job, TestState& state, uint32_t workerIndex, const BlockSlot& slot) {
  for (uint32_t j = 0; j < slot.count; ++j) {
    if (state.stopRequested.load()) return false;
    const uint64_t blockIndex = slot.first + j;
    const uint64_t offset = blockIndex * job.blockSize + job.startOffset;
    if (slot.failed && j + 1 == slot.count) {
      if (FailRunUnlessTargetGone(state, slot.errorCode)) NoteUnreadableBlock(job, state, blockIndex);
      AppendDiagLog(L"FEHLER: Lesefehler. Datei=" + job.filePath + L", Worker=" + std::to_wstring(workerIndex) +
                    L", Block=" + std::to_wstring(blockIndex) + L", Offset=" + std::to_wstring(offset) +
                    L", Blockgröße=" + std::to_wstring(job.blockSize) + L", I/O-Teilstück=" +
                    std::to_wstring(job.ioChunkSize) + L", " + FormatWindowsError(slot.errorCode));
      return false;
    }
    const uint8_t* data = slot.data + static_cast<size_t>(j) * job.blockSize;
    if (!MatchesPattern(data, job.blockSize, job.seed, job.patternBase + blockIndex)) {
      const BlockVerdict verdict = ClassifyFailedBlock(job, state, data, blockIndex);
      const uint64_t count = state.errorCount.fetch_add(1) + 1;
      if (count <= kLoggedMismatches) {
        AppendDiagLog(L"FEHLER: Datenabweichung bei Block " + std::to_wstring(blockIndex) + L", Offset=" +
                      std::to_wstring(offset) + VerdictLogText(job, state, verdict));
      }
      if (count >= job.errorLimit) {
        // The block that reaches the limit was read back like every other mismatch.
        CountVerifiedBlock(job, state, blockIndex);
        RequestStop(state, StopReason::kErrorLimit);
        AppendDiagLog(L"Abbruch: Fehlergrenze erreicht.");
        return false;
      }
    }
    CountVerifiedBlock(job, state, blockIndex);
  }
  return true;
}

}  // namespace

void VerifyWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex) {
  // What is read must come from the target's own volume, checked again before each slot.
  int64_t nextTargetCheck = 0;
  if (!TargetStillInPlaceSoon(*state, &nextTargetCheck)) return;
  VerifyReadMode mode = ChooseVerifyReadMode(job);
  platform::FileHandle file;
  // A file another program still holds is reported as such; only a direct open the file system
  // refuses falls back to the cached path.
  bool held = false;
  if (mode.pastCache) {
    file = OpenTestFileForDirectRead(job.filePath, &state->stopRequested);
    held = !file.valid() && IsHeldFileError(platform::LastError());
  }
  if (!file.valid() && !held) {
    mode.pastCache = false;
    file = OpenTestFileForRead(job.filePath, &state->stopRequested);
  }
  if (!file.valid()) {
    const uint32_t code = platform::LastError();
    if (state->stopRequested.load() && IsHeldFileError(code)) return;  // gave up waiting for a stop
    StopOnOpenFailure(*state, code);
    AppendDiagLog(L"FEHLER: Konnte Zieldatei nicht öffnen (Prüfen). Datei=" + job.filePath +
                  L", Worker=" + std::to_wstring(workerIndex) + L", " + FormatWindowsError(code) +
                  HeldFileNote(code));
    PostStatusText(L"Fehler: Testdatei konnte nicht geöffnet werden.");
    return;
  }
  // Reads past the cache ahead of the one being compared, several in flight, each lane with a
  // handle of its own (the cache reads ahead by itself).
  PieceLanes lanes;
  lanes.files.push_back(file);
  if (mode.pastCache && !mode.bounce) {
    while (lanes.files.size() < PiecesInFlight(job.workerCount)) {
      platform::FileHandle more = OpenTestFileForDirectRead(job.filePath, &state->stopRequested);
      if (!more.valid()) break;  // fewer reads in flight, the same reads
      lanes.files.push_back(more);
    }
    StartPieceLanes(lanes);
  }

  // The companion thread takes the next blocks in file order and reads them while this one
  // compares: the workers together read the file front to back.
  const uint64_t total = state->totalBlocks.load();
  if (total > 0 && state->blockOrder.nextBlock.load() < total) {
    const size_t alignment = mode.pastCache && mode.alignment > 64 ? mode.alignment : 64;
    // Sizes the medium's alignment rules do not allow still read past the cache, through a bounce
    // buffer: falling back to cached reads would let the cache answer for the medium.
    BlockBuffer bounce;
    if (mode.pastCache && mode.bounce) {
      bounce = AllocateBlockBuffer(RequestSize(job.ioChunkSize) + 2 * size_t{mode.alignment}, mode.alignment);
      if (!bounce) {
        FailRun(*state);
        AppendDiagLog(L"FEHLER: Kein Speicher für den Lesepuffer. Datei=" + job.filePath + L", Worker=" +
                      std::to_wstring(workerIndex) + L", " + FormatWindowsError(platform::kErrorNotEnoughMemory));
        StopPieceLanes(lanes);
        platform::CloseFile(file);
        return;
      }
    }
    WorkerSlots slots = AllocateWorkerSlots(job, *state, workerIndex, alignment, total);
    if (slots.slotCount > 0) {
      RunSlotPipeline(
          slots,
          [&](BlockSlot& slot, uint64_t) {
            return ReadSlot(job, *state, lanes, mode, bounce.get(), slots.blocksPerSlot, total, slot);
          },
          [&](BlockSlot& slot) {
            return TargetStillInPlaceSoon(*state, &nextTargetCheck) && CheckSlot(job, *state, workerIndex, slot);
          });
    }
  }
  StopPieceLanes(lanes);
  platform::CloseFile(file);
}

}  // namespace velkor
