// The write stage of a job: workerCount threads of WriteWorker fill one test file with the pattern.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/run_config.h"

namespace velkor {

// Writes blocks workerIndex, workerIndex + workerCount, ... below state->totalBlocks of
// job.filePath (an existing file), each at job.startOffset + index * blockSize, and adds 1 to
// state->blocksWritten per block. Looks at stopRequested before every block. An open or write
// failure is logged ("FEHLER: ..."), counted in errorCount and stops the whole run
// (StopReason::kIoFailure); a write the file system refuses for the file's size stops it as
// StopReason::kFileSystemLimit without counting an error.
// Uses of job: startOffset, blockSize, workerCount, writeThrough, seed, filePath, ioChunkSize.
void WriteWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex);

}  // namespace velkor
