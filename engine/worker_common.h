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

// The worker's slots for a stage in which it takes at most maxBlocks blocks (> 0), each block at a
// multiple of alignment. Where the memory for the slots is not there, one slot of one block;
// without memory even for that, the worker's failure is logged ("FEHLER: Kein Speicher für den
// Blockpuffer. ...") and the run stopped, and the result has no slots (slotCount 0).
WorkerSlots AllocateWorkerSlots(const TestConfig& job, TestState& state, uint32_t workerIndex, size_t alignment,
                                uint64_t maxBlocks);

}  // namespace velkor
