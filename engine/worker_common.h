// What the write and verify workers share beyond the block I/O.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/block_pipeline.h"
#include "engine/run_config.h"

namespace velkor {

// A worker failure ends the whole run: it counts as an error and every worker stops (an I/O
// failure of the medium).
void FailRun(TestState& state);

// How many of the job's totalBlocks blocks worker workerIndex owns (blocks workerIndex,
// workerIndex + workerCount, ...; a worker count of 0 counts as 1).
uint64_t OwnBlockCount(uint64_t totalBlocks, uint32_t workerCount, uint32_t workerIndex);

// The block index of the worker's ordinal-th block.
inline uint64_t OwnBlockIndex(uint64_t ordinal, uint32_t workerCount, uint32_t workerIndex) {
  return workerIndex + ordinal * (workerCount > 0 ? workerCount : 1);
}

// The worker's slots for a stage over ownBlocks blocks (> 0), each block at a multiple of
// alignment. Where the memory for the slots is not there, one slot of one block; without memory
// even for that, the worker's failure is logged ("FEHLER: Kein Speicher für den Blockpuffer. ...")
// and the run stopped, and the result has no slots (slotCount 0).
WorkerSlots AllocateWorkerSlots(const TestConfig& job, TestState& state, uint32_t workerIndex, size_t alignment,
                                uint64_t ownBlocks);

}  // namespace velkor
