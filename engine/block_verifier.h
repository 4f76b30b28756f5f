// The verify stage of a job: workerCount threads of VerifyWorker read a test file back and compare
// every block with its pattern.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/run_config.h"

namespace velkor {

// How many data mismatches of a job are logged one by one (counted over all its workers).
inline constexpr uint64_t kLoggedMismatches = 24;

// Takes blocks below state->totalBlocks of job.filePath from state->blockOrder, as many as it
// gets, reads and compares them, and adds 1 to state->blocksVerified per block compared. A
// mismatch adds 1 to errorCount; the first kLoggedMismatches of the job are logged; the one that
// reaches job.errorLimit stops the run ("Abbruch: Fehlergrenze erreicht.") and is not counted as
// verified. An open or read failure (a file that ends early included) is logged, counted and stops
// the run. Looks at stopRequested before every block. Reads past the system cache where
// ChooseVerifyReadMode allows it (engine/medium_sync.h), through the cache otherwise.
// Uses of job: startOffset, blockSize, errorLimit, seed, patternBase, filePath, ioChunkSize.
void VerifyWorker(const TestConfig& job, std::shared_ptr<TestState> state, uint32_t workerIndex);

}  // namespace velkor
