// The sampled pass after an early end: when the medium's errors stopped the verification, a sample
// of the blocks not yet checked lets the diagnosis cover the whole test in seconds.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/diagnosis_collector.h"
#include "engine/job_variant.h"
#include "engine/run_config.h"

namespace velkor {

inline constexpr uint64_t kSampleBlocks = 4096;   // at most this many blocks
inline constexpr uint32_t kSampleBytes = 4096;    // the first this many bytes of each
inline constexpr uint32_t kSampleSeconds = 120;   // and for no longer than this
inline constexpr uint32_t kBoundaryReads = 64;    // reads that narrow down where the bad end starts

// Reads the first kSampleBytes of up to kSampleBlocks blocks that were not checked, evenly spaced
// over the whole test, from the medium as the verify workers read (past the cache where the file
// system allows), and records each as sampled; then halves the unchecked stretch between the last
// neighbouring good and bad checked blocks until they touch (LastOpenTransition; at most
// kBoundaryReads reads), so the edge of the usable part is known to the block. A failed read is an unreadable block; a file that does not open is logged and skipped.
// Ends early on a stop request made after it began (the run's stop is already set), when the
// target folder no longer is the run's (TargetStillInPlaceSoon) and after kSampleSeconds. Logs
// what it read.
// True when every block it meant to read was read (or could not be: a failed read counts).
bool SampleUncheckedBlocks(DiagnosisCollector& c, const TestConfig& config, const std::vector<TestVariant>& fullPlan,
                           TestState& state);

// The ranks (0-based, among count unchecked blocks) of the blocks a sample of at most take reads:
// evenly spaced, each in the middle of its share.
std::vector<uint64_t> SampleRanks(uint64_t count, uint64_t take);

}  // namespace velkor
