// Hands a job's blocks to its workers in file order and lets the writers extend the file in that
// order. A file that grows past a gap makes FAT32, exFAT and NTFS fill the gap with zeros first:
// those blocks are written twice, on write-through straight to the medium.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace velkor {

// One job's stage: what is handed out, what is written. Shared by the stage's workers.
struct BlockOrder {
  std::atomic<uint64_t> nextBlock{0};   // the first block not handed out yet
  std::atomic<uint64_t> writtenEnd{0};  // every block below it is written; set under mutex
  std::atomic<uint64_t> droppedEnd{0};  // written blocks below it have been dropped from the cache
  bool abandoned = false;               // a writer left claimed blocks unwritten; under mutex
  std::mutex mutex;
  std::condition_variable turn;
};

// Back to the start of a stage. Only while none of its workers runs.
void ResetBlockOrder(BlockOrder& order);

// Hands out the next blocks: up to maxCount of those below totalBlocks, the first in *first.
// Returns how many; 0 once every block is handed out.
uint32_t ClaimBlocks(BlockOrder& order, uint64_t totalBlocks, uint32_t maxCount, uint64_t* first);

// Waits until every block below first is written, then true: the blocks from first on are the
// caller's to write. False when a writer left blocks unwritten (the run stops), at once or later.
bool WaitForTurn(BlockOrder& order, uint64_t first);

// After the caller, whose turn it was, wrote every block below end: the next writer goes on.
void EndTurn(BlockOrder& order, uint64_t end);

// The caller stops with blocks it claimed unwritten: every writer waiting for its turn gives up.
void AbandonTurns(BlockOrder& order);

}  // namespace velkor
