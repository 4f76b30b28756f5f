#include "engine/block_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/diag_log.h"
#include "engine/block_pipeline.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class BlockWriterTest : public testing::WorkerTest {};

// Blocks belong to no worker: one that runs alone takes every block, front to back, so a worker
// that falls behind leaves no gap in the file. 10 000-byte blocks in 1000-byte pieces, raised to
// 4096, exercise the split into requests; blocks of more than half a slot take a slot each.
TEST_F(BlockWriterTest, AWorkerAloneWritesTheWholeFileFromTheFront) {
  const struct {
    uint32_t blockSize;
    uint64_t total;
  } cases[] = {{10000, 10}, {600000, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blockSize);
    TestConfig job = Job(L"velkor.bin", c.blockSize, 4);
    job.ioChunkSize = 1000;
    WriteFileBytes(job.filePath, "");
    auto state = StateFor(c.total);

    WriteWorker(job, state, 3);

    EXPECT_EQ(state->blocksWritten, c.total);
    EXPECT_EQ(state->errorCount, 0u);
    EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(c.total, c.blockSize));
  }
  EXPECT_TRUE(LogLines().empty());
}

// Four workers in small pieces, a block per slot: the file never grows past a block that is not
// written yet. Watched from outside: at any moment it is no longer than the blocks counted as
// written plus the one block being written.
TEST_F(BlockWriterTest, TheFileGrowsOnlyPastWrittenBlocks) {
  const uint32_t blockSize = kPipelineSlotBytes;
  const uint64_t total = 48;
  TestConfig job = Job(L"velkor.bin", blockSize, 4);
  job.ioChunkSize = 65536;
  WriteFileBytes(job.filePath, "");
  platform::FileHandle file = platform::OpenFileForRead(job.filePath);
  ASSERT_TRUE(file.valid());
  auto state = StateFor(total);
  std::atomic<bool> done{false};

  std::thread writers([&] {
    RunAll(WriteWorker, job, state);
    done = true;
  });
  uint64_t ahead = 0;
  for (bool last = false; !last;) {
    last = done.load();
    uint64_t size = 0;
    ASSERT_TRUE(platform::GetFileSizeByHandle(file, &size));
    const uint64_t counted = state->blocksWritten.load() * blockSize;  // read after the size
    if (size > counted) ahead = std::max(ahead, size - counted);
  }
  writers.join();
  platform::CloseFile(file);

  EXPECT_LE(ahead, blockSize);
  EXPECT_EQ(state->blocksWritten, total);
  EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(total, blockSize));
}

// Write-through pieces go out several at a time, yet the file never has a gap: watched from
// outside, every page below its size already holds its block's pattern (a gap reads as zeros,
// and FAT32, exFAT and NTFS would even write those zeros to the medium first).
TEST_F(BlockWriterTest, WriteThroughPiecesInFlightLeaveNoGapInTheFile) {
  const uint32_t blockSize = 65536;
  const uint64_t total = 64;
  TestConfig job = Job(L"velkor.bin", blockSize, 3);
  job.ioChunkSize = 4096;
  job.writeThrough = true;
  WriteFileBytes(job.filePath, "");
  platform::FileHandle file = platform::OpenFileForRead(job.filePath);
  ASSERT_TRUE(file.valid());
  auto state = StateFor(total);
  std::atomic<bool> done{false};

  std::thread writers([&] {
    RunAll(WriteWorker, job, state);
    done = true;
  });
  // A gap lasts only until the piece before it lands: look often, at the block below the end.
  const std::string zeros(4096, '\0');
  std::string seen(blockSize, '\0');
  uint64_t gapAt = UINT64_MAX, samples = 0;
  for (bool last = false; !last && gapAt == UINT64_MAX;) {
    last = done.load();
    uint64_t size = 0;
    uint32_t got = 0;
    if (!platform::GetFileSizeByHandle(file, &size)) {
      ADD_FAILURE() << "cannot see the file's size while it is written";
      break;
    }
    const uint64_t from = size > blockSize ? (size - blockSize) / 4096 * 4096 : 0;
    if (size > from && !platform::ReadFileAt(file, from, seen.data(), static_cast<uint32_t>(size - from), &got)) {
      ADD_FAILURE() << "cannot read the file while it is written";
      break;
    }
    ++samples;
    for (uint64_t page = 0; page + 4096 <= got; page += 4096) {
      if (seen.compare(page, 4096, zeros) == 0) {
        gapAt = from + page;
        break;
      }
    }
  }
  writers.join();
  platform::CloseFile(file);

  EXPECT_EQ(gapAt, UINT64_MAX) << "a page of zeros below the file's end after " << samples << " looks";
  EXPECT_EQ(state->blocksWritten, total);
  EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(total, blockSize));
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

// A stop that arrives while the workers run lets the block in hand finish and ends before the
// next: the file then holds exactly the counted blocks, from the front, each complete, and nothing
// is logged.
TEST_F(BlockWriterTest, AStopBetweenBlocksEndsAfterACompleteBlock) {
  const uint32_t blockSize = 512;
  const uint64_t total = 20000;
  for (const uint32_t workers : {1u, 4u}) {
    SCOPED_TRACE(workers);
    TestConfig job = Job(L"velkor.bin", blockSize, workers);
    WriteFileBytes(job.filePath, "");
    auto state = StateFor(total);

    std::thread run([&] { RunAll(WriteWorker, job, state); });
    while (state->blocksWritten < 5 && state->errorCount == 0) std::this_thread::yield();
    state->stopRequested = true;
    run.join();

    const uint64_t written = state->blocksWritten;
    EXPECT_LT(written, total);
    EXPECT_TRUE(ReadFileBytes(job.filePath) == Blocks(written, blockSize));
    EXPECT_EQ(state->errorCount, 0u);
  }
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

// A device that is always full refuses every write: the failing block, the first, is not counted,
// the line names it, and the run stops. Workers waiting for their turn behind it end silently.
// Linux has /dev/full; Wine shows it as Z:\dev\full.
TEST_F(BlockWriterTest, AWriteFailureIsLoggedWithTheBlockAndStopsTheRun) {
  const std::wstring device = platform::PathSeparator() == L'/' ? L"/dev/full" : L"Z:\\dev\\full";
  platform::FileHandle probe = platform::OpenFileForWrite(device, false);
  if (!probe.valid()) GTEST_SKIP() << "no always-full device here";
  platform::CloseFile(probe);
  const std::wstring tail = L", Block=0, Offset=0, Blockgröße=8192, I/O-Teilstück=1000, " +
                            FormatWindowsError(platform::kErrorDiskFull);
  for (const uint32_t workers : {1u, 3u}) {
    SCOPED_TRACE(workers);
    platform::DeleteFileAtPath(logPath_);
    TestConfig job = Job(L"unused", 8192, 3);
    job.filePath = device;
    job.ioChunkSize = 1000;
    auto state = StateFor(10);

    if (workers == 1) {
      WriteWorker(job, state, 1);
    } else {
      RunAll(WriteWorker, job, state);
    }

    EXPECT_EQ(state->blocksWritten, 0u);
    EXPECT_EQ(state->errorCount, 1u);
    EXPECT_TRUE(state->stopRequested);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    if (workers == 1) {
      EXPECT_EQ(lines[0], Utf8(L"FEHLER: Schreibfehler. Datei=" + device + L", Worker=1" + tail));
    } else {
      EXPECT_EQ(lines[0].rfind(Utf8(L"FEHLER: Schreibfehler. Datei=" + device + L", Worker="), 0), 0u) << lines[0];
      EXPECT_EQ(lines[0].substr(lines[0].size() - Utf8(tail).size()), Utf8(tail));
    }
  }
}

// Which refused writes are the file system's size rule (no error of the medium) and which a full
// or failing medium.
TEST(FileSizeLimit, DiskFullCountsOnlyForAFat32WritePastFourGiB) {
  struct Case {
    uint32_t code;
    bool fat32;
    uint64_t writeEnd;
    bool limit;
  };
  const Case cases[] = {
      {platform::kErrorFileTooLarge, false, 1048576, true},
      {platform::kErrorFileSystemLimitation, false, 1048576, true},
      {platform::kErrorDiskFull, true, kFat32FileSizeLimit + 1, true},       // Windows' FAT driver at 4 GiB
      {platform::kErrorDiskFull, true, 4294967296ULL + 1048576, true},
      {platform::kErrorDiskFull, true, kFat32FileSizeLimit, false},          // the last byte still fits
      {platform::kErrorDiskFull, true, 1073741824, false},                   // a FAT32 stick that is full
      {platform::kErrorDiskFull, false, 4294967296ULL + 1048576, false},     // exFAT, NTFS: really full
      {platform::kErrorWriteFault, true, 4294967296ULL + 1048576, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsFileSizeLimit(c.code, c.fat32, c.writeEnd), c.limit)
        << "code " << c.code << ", FAT32 " << c.fat32 << ", end " << c.writeEnd;
  }
}

}  // namespace
}  // namespace velkor
