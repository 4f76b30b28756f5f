// The write stage of a job: workerCount threads of WriteWorker fill one test file with the pattern.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/run_config.h"

namespace velkor {

// Takes blocks below state->totalBlocks of job.filePath (an existing file) from state->blockOrder,
// as many as it gets, writes each at job.startOffset + index * blockSize once every block before
// it is written (the file grows without gaps), and adds 1 to state->blocksWritten per block.
// Looks at stopRequested before every block; a worker that stops with blocks it took unwritten
// makes the others stop too. An open or write failure is logged ("FEHLER: ..."), counted in
// errorCount and stops the whole run (StopReason::kIoFailure); a write the file system refuses for
// the file's size stops it as StopReason::kFileSystemLimit without counting an error.
// Uses of job: startOffset, blockSize, writeThrough, seed, patternBase, filePath, ioChunkSize.
void WriteWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex);

// The largest file FAT32 holds: 4 GiB - 1 bytes.
inline constexpr uint64_t kFat32FileSizeLimit = 4294967295ULL;

// A failed write (code) that ends at writeEnd bytes of the file was refused for the file's size,
// not by the medium: 223 or 665 anywhere, and on FAT32 also "disk full" (112) past its limit.
bool IsFileSizeLimit(uint32_t code, bool fat32, uint64_t writeEnd);

}  // namespace velkor
