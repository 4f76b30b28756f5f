// What the write and verify workers share beyond the block I/O.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/block_buffer.h"
#include "engine/test_config.h"

namespace velkor {

// A worker failure ends the whole run: it counts as an error and every worker stops.
void FailRun(TestState& state);

// The worker's block buffer for the job. Without memory for it the worker's failure is logged
// ("FEHLER: Kein Speicher für den Blockpuffer. ...") and the run stopped; the buffer is then empty.
BlockBuffer AllocateWorkerBuffer(const TestConfig& job, TestState& state, uint32_t workerIndex, size_t alignment);

}  // namespace velkor
