// What the full test learns about the medium while it runs: which blocks were read back, what every
// bad one held, and when the test passed each 1 % of its blocks while writing and while reading.
// The test thread makes one collector for the full test and hangs it on the run's state
// (TestState::diagnosis); the workers report through the functions below, which count as before
// and only classify when no collector is there (a method-test job).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/block_classes.h"
#include "engine/job_variant.h"
#include "engine/run_config.h"

namespace velkor {

// One full-test file: its blocks have pattern indices patternBase to patternBase + blocks - 1.
struct DiagnosisFile {
  std::wstring path;
  uint64_t patternBase = 0;
  uint64_t blocks = 0;
  uint64_t fileOffset = 0;
};

// A bad block: its pattern index (its place in the whole test) and what it held.
struct BlockFinding {
  uint64_t index = 0;
  BlockVerdict verdict;
  bool sampled = false;  // read by the sample after an early end
};

inline constexpr size_t kSpeedMarks = kSpeedCurvePoints + 1;

struct DiagnosisCollector {
  uint64_t seed = kTestPatternSeed;
  uint32_t blockSize = 0;
  uint64_t totalBlocks = 0;
  std::vector<DiagnosisFile> files;  // in plan order
  std::unique_ptr<std::atomic<uint64_t>[]> checked;  // one bit per block: read back and classed
  size_t checkedWords = 0;
  std::atomic<uint64_t> sampled{0};  // blocks read by the sample, good ones included
  std::mutex mutex;
  std::vector<BlockFinding> findings;  // guarded by mutex
  // Counter ticks when k % of the blocks were written (read back); [0] is the start; 0: not yet.
  std::atomic<int64_t> writeMarks[kSpeedMarks] = {};
  std::atomic<int64_t> readMarks[kSpeedMarks] = {};
  // Where each block starts on the medium, by pattern index (MapBlocksToDevice); empty where the
  // system could not tell.
  std::vector<uint64_t> deviceOffsets;
};

// A collector for the full-test plan (all entries share one block size, as the plan makes them).
std::shared_ptr<DiagnosisCollector> NewDiagnosisCollector(const TestConfig& config,
                                                          const std::vector<TestVariant>& fullPlan);

// Marks the start of the full test's writing (reading): the time the first 1 % is measured from.
void MarkWriteStart(DiagnosisCollector& c);
void MarkReadStart(DiagnosisCollector& c);

// The file that holds a pattern index; null for an index outside the test.
const DiagnosisFile* FileOfIndex(const DiagnosisCollector& c, uint64_t index);

// True when the block was read back and classed.
bool IsBlockChecked(const DiagnosisCollector& c, uint64_t index);

// Records a block read back: checked, and, unless verdict says OK, among the findings.
void NoteCheckedBlock(DiagnosisCollector& c, uint64_t index, const BlockVerdict& verdict, bool sampled);

// The findings so far, under the collector's lock.
std::vector<BlockFinding> FindingsOf(DiagnosisCollector& c);

// What the workers report. Each takes the job's configuration and block index (counted from the
// job's start).
// A block written: adds 1 to blocksWritten.
void CountWrittenBlock(const TestConfig& job, TestState& state);
// A block read back and compared (matching or not, below the error limit): adds 1 to
// blocksVerified. A block that did not match is reported with ClassifyFailedBlock first.
void CountVerifiedBlock(const TestConfig& job, TestState& state, uint64_t blockIndex);
// Classes a block that did not match (data: the whole block as read) and records it.
BlockVerdict ClassifyFailedBlock(const TestConfig& job, TestState& state, const uint8_t* data, uint64_t blockIndex);
// A block whose read failed.
void NoteUnreadableBlock(const TestConfig& job, TestState& state, uint64_t blockIndex);

// The class of a mismatch for its log line: ", Art: leer", ", Art: beschädigt (12 Bytes
// abweichend)" (or "1 Byte"), ", Art: überschrieben (Daten von Block 768)"; a source in another file or inside
// its block is named so ("... von Block 3 aus velkor_full_02.bin ab Byte 65536").
std::wstring VerdictLogText(const TestConfig& job, const TestState& state, const BlockVerdict& verdict);

}  // namespace velkor
