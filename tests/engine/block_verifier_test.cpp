#include "engine/block_verifier.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <utility>

#include "common/diag_log.h"
#include "engine/block_pipeline.h"
#include "engine/block_writer.h"
#include "engine/medium_sync.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class BlockVerifierTest : public testing::WorkerTest {
 protected:
  // A file of count correct blocks in which the listed blocks have one byte changed.
  void WriteBlocks(const TestConfig& job, uint64_t count, const std::set<uint64_t>& bad = {}) {
    std::string bytes = Blocks(count, job.blockSize);
    for (uint64_t i : bad) bytes[i * job.blockSize + job.blockSize / 2] ^= 0x01;
    WriteFileBytes(job.filePath, bytes);
  }

  // The line of a block with one byte changed.
  static std::string MismatchLine(uint64_t block, uint32_t blockSize) {
    return "FEHLER: Datenabweichung bei Block " + std::to_string(block) + ", Offset=" +
           std::to_string(block * blockSize) + ", Art: besch\xC3\xA4" "digt (1 Byte abweichend)";
  }
};

// 10 000-byte blocks cannot be read past the cache; 8192-byte blocks in 4096-byte pieces can
// where the file system allows it. Both read the same.
const uint32_t kBlockSizes[] = {10000, 8192};

TEST_F(BlockVerifierTest, WrittenBlocksVerifyOnBothReadPaths) {
  for (const uint32_t blockSize : kBlockSizes) {
    SCOPED_TRACE(blockSize);
    TestConfig job = Job(L"velkor.bin", blockSize, 4);
    WriteFileBytes(job.filePath, "");
    auto written = StateFor(10);
    RunAll(WriteWorker, job, written);
    uint32_t code = 0;
    ASSERT_TRUE(FlushAndEvictFile(job.filePath, &code)) << code;

    auto state = StateFor(10);
    RunAll(VerifyWorker, job, state);

    EXPECT_EQ(state->blocksVerified, 10u);
    EXPECT_EQ(state->errorCount, 0u);
    EXPECT_FALSE(state->stopRequested);
  }
  EXPECT_TRUE(LogLines().empty());
}

// Blocks belong to no worker: one that runs alone reads and compares every block.
TEST_F(BlockVerifierTest, AWorkerAloneVerifiesTheWholeFile) {
  TestConfig job = Job(L"velkor.bin", 600000, 4);
  WriteBlocks(job, 5, {3});
  auto state = StateFor(5);

  VerifyWorker(job, state, 2);

  EXPECT_EQ(state->blocksVerified, 5u);
  EXPECT_EQ(state->errorCount, 1u);
  EXPECT_EQ(LogLines(), std::vector<std::string>{MismatchLine(3, 600000)});
}

// Enough blocks that every worker takes several slots of the companion thread (the last
// one partly filled): the file holds every block where it belongs, and mismatches in later slots are
// found at their own blocks, on both read paths.
TEST_F(BlockVerifierTest, SharesOfSeveralSlotsAreWrittenAndVerifiedBlockByBlock) {
  for (const uint32_t blockSize : kBlockSizes) {
    SCOPED_TRACE(blockSize);
    const uint32_t workers = 3;
    const uint64_t total = workers * (3 * (kPipelineSlotBytes / blockSize) + 1) + 2;
    TestConfig job = Job(L"velkor.bin", blockSize, workers);
    WriteFileBytes(job.filePath, "");
    platform::DeleteFileAtPath(logPath_);
    auto written = StateFor(total);
    RunAll(WriteWorker, job, written);
    ASSERT_EQ(written->blocksWritten, total);
    ASSERT_TRUE(ReadFileBytes(job.filePath) == Blocks(total, blockSize));

    const uint64_t bad[] = {total / 2, total - 1};
    platform::FileHandle file = platform::OpenFileForWrite(job.filePath, false);
    for (const uint64_t block : bad) {
      uint32_t done = 0;
      const char byte = static_cast<char>(Pattern(block, blockSize)[7] ^ 0x40);
      ASSERT_TRUE(platform::WriteFileAt(file, block * blockSize + 7, &byte, 1, &done));
    }
    platform::CloseFile(file);
    uint32_t code = 0;
    ASSERT_TRUE(FlushAndEvictFile(job.filePath, &code)) << code;

    auto state = StateFor(total);
    RunAll(VerifyWorker, job, state);

    EXPECT_EQ(state->blocksVerified, total);
    EXPECT_EQ(state->errorCount, 2u);
    const auto lines = LogLines();
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()),
              (std::set<std::string>{MismatchLine(bad[0], blockSize), MismatchLine(bad[1], blockSize)}));
  }
}

// The companion reads ahead, but a read failure counts only when its block's turn comes: a run
// that the error limit stopped before that block reports no read failure.
TEST_F(BlockVerifierTest, AReadFailureBeyondTheErrorLimitIsNotReported) {
  TestConfig job = Job(L"short.bin", 4096, 1);
  job.errorLimit = 2;
  std::string bytes = Blocks(5, 4096);
  for (const uint64_t block : {1, 2}) bytes[block * 4096 + 9] ^= 0x01;
  WriteFileBytes(job.filePath, bytes);
  auto state = StateFor(10);

  VerifyWorker(job, state, 0);

  EXPECT_EQ(state->blocksVerified, 3u);
  EXPECT_EQ(state->errorCount, 2u);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{MismatchLine(1, 4096), MismatchLine(2, 4096),
                                                  "Abbruch: Fehlergrenze erreicht."}));
}

TEST_F(BlockVerifierTest, MismatchesBelowTheLimitAreLoggedCountedAndVerified) {
  TestConfig job = Job(L"velkor.bin", 8192, 2);
  WriteBlocks(job, 10, {3, 4});
  auto state = StateFor(10);

  RunAll(VerifyWorker, job, state);

  EXPECT_EQ(state->blocksVerified, 10u);
  EXPECT_EQ(state->errorCount, 2u);
  EXPECT_FALSE(state->stopRequested);
  const auto lines = LogLines();
  EXPECT_EQ(std::multiset<std::string>(lines.begin(), lines.end()),
            (std::multiset<std::string>{MismatchLine(3, 8192), MismatchLine(4, 8192)}));
}

// One worker makes the order fixed: the third mismatch reaches the limit, is logged, stops the run
// and counts as read back, like the mismatches before it: 3 errors are never more than the blocks
// checked.
TEST_F(BlockVerifierTest, TheMismatchThatReachesTheLimitStopsTheRun) {
  TestConfig job = Job(L"velkor.bin", 4096, 1);
  job.errorLimit = 3;
  WriteBlocks(job, 10, {2, 5, 7});
  auto state = StateFor(10);

  VerifyWorker(job, state, 0);

  EXPECT_EQ(state->blocksVerified, 8u);  // blocks 0 to 7
  EXPECT_EQ(state->errorCount, 3u);
  EXPECT_TRUE(state->stopRequested);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{MismatchLine(2, 4096), MismatchLine(5, 4096),
                                                  MismatchLine(7, 4096),
                                                  "Abbruch: Fehlergrenze erreicht."}));
}

// Four workers on 100 bad blocks with a limit of 50: every block compared counts as read back,
// each worker that met a mismatch at or past the limit says so once, the others stop at the flag,
// and only 24 mismatches are logged.
TEST_F(BlockVerifierTest, TheLimitStopsAllWorkers) {
  TestConfig job = Job(L"velkor.bin", 4096, 4);
  job.errorLimit = 50;
  std::set<uint64_t> all;
  for (uint64_t i = 0; i < 100; ++i) all.insert(i);
  WriteBlocks(job, 100, all);
  auto state = StateFor(100);

  RunAll(VerifyWorker, job, state);

  EXPECT_TRUE(state->stopRequested);
  const uint64_t errors = state->errorCount;
  EXPECT_EQ(state->blocksVerified, errors);
  EXPECT_GE(errors, 50u);
  EXPECT_LE(errors, 53u);
  EXPECT_EQ(LinesStartingWith("Abbruch: Fehlergrenze erreicht.").size(), errors - 49);
  EXPECT_EQ(LinesStartingWith("FEHLER: Datenabweichung").size(), kLoggedMismatches);
}

TEST_F(BlockVerifierTest, OnlyTheFirst24MismatchesAreLoggedAcrossWorkers) {
  TestConfig job = Job(L"velkor.bin", 4096, 4);
  std::set<uint64_t> all;
  for (uint64_t i = 0; i < 100; ++i) all.insert(i);
  WriteBlocks(job, 100, all);
  auto state = StateFor(100);

  RunAll(VerifyWorker, job, state);

  EXPECT_EQ(state->blocksVerified, 100u);
  EXPECT_EQ(state->errorCount, 100u);
  EXPECT_FALSE(state->stopRequested);
  const auto lines = LogLines();
  EXPECT_EQ(lines.size(), 24u);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 24u);  // 24 different blocks
  for (const auto& line : lines) EXPECT_EQ(line.rfind("FEHLER: Datenabweichung bei Block ", 0), 0u) << line;
}

// A file that ends inside block n, or right before it: the blocks before it verify, block n is a
// read failure with the end-of-file code, on both read paths. Block 2 lies in the worker's first
// slot, the other n in its third.
TEST_F(BlockVerifierTest, AShortFileIsAReadFailureWithEndOfFile) {
  for (const uint32_t blockSize : kBlockSizes) {
    const uint64_t later = 2 * (kPipelineSlotBytes / blockSize) + 1;
    for (const auto& [n, tail] : {std::pair<uint64_t, uint64_t>{2, 0}, {2, 5000}, {later, 0}, {later, 5000}}) {
      SCOPED_TRACE(::testing::Message() << "block size " << blockSize << " n " << n << " tail " << tail);
      TestConfig job = Job(L"short.bin", blockSize, 1);
      WriteFileBytes(job.filePath, Blocks(n, blockSize) + Pattern(n, blockSize).substr(0, tail));
      platform::DeleteFileAtPath(logPath_);
      auto state = StateFor(n + 2);

      VerifyWorker(job, state, 0);

      EXPECT_EQ(state->blocksVerified, n);
      EXPECT_EQ(state->errorCount, 1u);
      EXPECT_TRUE(state->stopRequested);
      const std::wstring expected = L"FEHLER: Lesefehler. Datei=" + job.filePath + L", Worker=0, Block=" +
                                    std::to_wstring(n) + L", Offset=" + std::to_wstring(n * blockSize) +
                                    L", Blockgröße=" + std::to_wstring(blockSize) + L", I/O-Teilstück=4096, " +
                                    FormatWindowsError(platform::kErrorHandleEof);
      EXPECT_EQ(LogLines(), std::vector<std::string>{Utf8(expected)});
    }
  }
}

TEST_F(BlockVerifierTest, AStopBeforeTheFirstBlockVerifiesNothing) {
  TestConfig job = Job(L"velkor.bin", 4096, 3);
  WriteBlocks(job, 10, {1});
  auto state = StateFor(10);
  state->stopRequested = true;

  RunAll(VerifyWorker, job, state);

  EXPECT_EQ(state->blocksVerified, 0u);
  EXPECT_EQ(state->errorCount, 0u);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(BlockVerifierTest, AStopWhileVerifyingEndsEveryWorkerSilently) {
  const uint32_t blockSize = 512;
  const uint64_t total = 20000;
  TestConfig job = Job(L"velkor.bin", blockSize, 4);
  WriteBlocks(job, total);
  auto state = StateFor(total);

  std::vector<std::thread> workers;
  for (uint32_t w = 0; w < 4; ++w) workers.emplace_back(VerifyWorker, std::cref(job), state, w);
  while (state->blocksVerified < 20 && state->errorCount == 0) std::this_thread::yield();
  state->stopRequested = true;
  for (auto& t : workers) t.join();

  EXPECT_LT(state->blocksVerified, total);
  EXPECT_EQ(state->errorCount, 0u);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(BlockVerifierTest, AnOpenFailureIsLoggedCountedAndStopsTheRun) {
  TestConfig job = Job(L"absent.bin", 4096, 4);
  auto state = StateFor(10);

  VerifyWorker(job, state, 3);

  EXPECT_EQ(state->errorCount, 1u);
  EXPECT_TRUE(state->stopRequested);
  const std::wstring expected = L"FEHLER: Konnte Zieldatei nicht öffnen (Prüfen). Datei=" + job.filePath +
                                L", Worker=3, " + FormatWindowsError(platform::kErrorFileNotFound);
  EXPECT_EQ(LogLines(), std::vector<std::string>{Utf8(expected)});
}

}  // namespace
}  // namespace velkor
