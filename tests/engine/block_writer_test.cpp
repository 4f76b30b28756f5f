#include "engine/block_writer.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "common/diag_log.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class BlockWriterTest : public testing::WorkerTest {};

// One worker alone on an empty file shows which blocks it owns: its blocks hold their pattern, the
// others (up to its last block) stay zero. 10 000-byte blocks in 1000-byte pieces, raised to
// 4096, exercise the split into requests.
TEST_F(BlockWriterTest, EachWorkerWritesItsInterleavedBlocks) {
  struct Case {
    uint64_t total;
    uint32_t worker;
    std::set<uint64_t> blocks;
  };
  const Case cases[] = {
      {10, 0, {0, 4, 8}}, {10, 1, {1, 5, 9}}, {10, 2, {2, 6}}, {10, 3, {3, 7}}, {3, 3, {}},
  };
  const uint32_t blockSize = 10000;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "total " << c.total << " worker " << c.worker);
    TestConfig job = Job(L"velkor.bin", blockSize, 4);
    job.ioChunkSize = 1000;
    WriteFileBytes(job.filePath, "");
    auto state = StateFor(c.total);

    WriteWorker(job, state, c.worker);

    EXPECT_EQ(state->blocksWritten, c.blocks.size());
    EXPECT_EQ(state->errorCount, 0u);
    const std::string content = ReadFileBytes(job.filePath);
    const uint64_t end = c.blocks.empty() ? 0 : *c.blocks.rbegin() + 1;
    ASSERT_EQ(content.size(), end * blockSize);
    for (uint64_t i = 0; i < end; ++i) {
      const std::string expected = c.blocks.count(i) ? Pattern(i, blockSize) : std::string(blockSize, '\0');
      EXPECT_TRUE(content.compare(i * blockSize, blockSize, expected) == 0) << "block " << i;
    }
  }
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(BlockWriterTest, AllWorkersTogetherWriteEveryBlockOnceAfterTheStartOffset) {
  const uint32_t blockSize = 4096;
  TestConfig job = Job(L"velkor.bin", blockSize, 4);
  job.startOffset = 1536;
  const std::string head(job.startOffset, 'h');
  WriteFileBytes(job.filePath, head);
  auto state = StateFor(10);

  RunAll(WriteWorker, job, state);

  EXPECT_EQ(state->blocksWritten, 10u);
  EXPECT_EQ(state->errorCount, 0u);
  EXPECT_FALSE(state->stopRequested);
  EXPECT_TRUE(ReadFileBytes(job.filePath) == head + Blocks(10, blockSize));
  EXPECT_TRUE(LogLines().empty());
}

// A hand-made job with no worker count must not spin on block 0 for ever.
TEST_F(BlockWriterTest, AWorkerCountOfZeroStillEnds) {
  TestConfig job = Job(L"velkor.bin", 4096, 0);
  WriteFileBytes(job.filePath, "");
  auto state = StateFor(3);

  WriteWorker(job, state, 0);

  EXPECT_EQ(state->blocksWritten, 3u);
  EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(3, 4096));
}

TEST_F(BlockWriterTest, AStopBeforeTheFirstBlockWritesNothing) {
  TestConfig job = Job(L"velkor.bin", 4096, 2);
  WriteFileBytes(job.filePath, "");
  auto state = StateFor(10);
  state->stopRequested = true;

  RunAll(WriteWorker, job, state);

  EXPECT_EQ(state->blocksWritten, 0u);
  EXPECT_EQ(ReadFileBytes(job.filePath).size(), 0u);
  EXPECT_TRUE(LogLines().empty());
}

// A stop that arrives while the worker runs lets the block in hand finish and ends before the
// next: the file then holds exactly the counted blocks, each complete, and nothing is logged.
TEST_F(BlockWriterTest, AStopBetweenBlocksEndsAfterACompleteBlock) {
  const uint32_t blockSize = 512;
  const uint64_t total = 20000;
  TestConfig job = Job(L"velkor.bin", blockSize, 1);
  WriteFileBytes(job.filePath, "");
  auto state = StateFor(total);

  std::thread worker(WriteWorker, std::cref(job), state, 0u);
  while (state->blocksWritten < 5 && state->errorCount == 0) std::this_thread::yield();
  state->stopRequested = true;
  worker.join();

  const uint64_t written = state->blocksWritten;
  EXPECT_LT(written, total);
  EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(written, blockSize));
  EXPECT_EQ(state->errorCount, 0u);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(BlockWriterTest, AnOpenFailureIsLoggedCountedAndStopsTheRun) {
  for (const bool writeThrough : {false, true}) {
    SCOPED_TRACE(writeThrough);
    TestConfig job = Job(L"missing-folder", 4096, 4);
    job.filePath = folder_.File(L"missing-folder") + platform::PathSeparator() + L"velkor.bin";
    job.writeThrough = writeThrough;
    auto state = StateFor(10);

    WriteWorker(job, state, 2);

    EXPECT_EQ(state->errorCount, 1u);
    EXPECT_TRUE(state->stopRequested);
    const std::wstring expected = L"FEHLER: Konnte Zieldatei nicht öffnen (Schreiben). Datei=" +
                                  job.filePath + L", Worker=2, Flags=" +
                                  (writeThrough ? L"2147483776" : L"128") + L", " +
                                  FormatWindowsError(platform::kErrorPathNotFound);
    ASSERT_FALSE(LogLines().empty());
    EXPECT_EQ(LogLines().back(), Utf8(expected));
  }
}

// A device that is always full refuses every write: the failing block is not counted, the line
// names it, and the run stops. Linux has /dev/full; Wine shows it as Z:\dev\full.
TEST_F(BlockWriterTest, AWriteFailureIsLoggedWithTheBlockAndStopsTheRun) {
  const std::wstring device = platform::PathSeparator() == L'/' ? L"/dev/full" : L"Z:\\dev\\full";
  platform::FileHandle probe = platform::OpenFileForWrite(device, false);
  if (!probe.valid()) GTEST_SKIP() << "no always-full device here";
  platform::CloseFile(probe);
  TestConfig job = Job(L"unused", 8192, 3);
  job.filePath = device;
  job.ioChunkSize = 1000;
  auto state = StateFor(10);

  WriteWorker(job, state, 1);

  EXPECT_EQ(state->blocksWritten, 0u);
  EXPECT_EQ(state->errorCount, 1u);
  EXPECT_TRUE(state->stopRequested);
  const std::wstring expected = L"FEHLER: Schreibfehler. Datei=" + device +
                                L", Worker=1, Block=1, Offset=8192, Blockgröße=8192, "
                                L"I/O-Teilstück=1000, " +
                                FormatWindowsError(platform::kErrorDiskFull);
  EXPECT_EQ(LogLines(), std::vector<std::string>{Utf8(expected)});
}

}  // namespace
}  // namespace velkor
