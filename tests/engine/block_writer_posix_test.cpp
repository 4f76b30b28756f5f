// Linux only: a file that may not grow past a limit, made with the process's file size limit
// (RLIMIT_FSIZE, writes past it fail with EFBIG as on a volume with a file size limit).
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "engine/block_pipeline.h"
#include "engine/block_writer.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class BlockWriterPosixTest : public testing::WorkerTest {};

// The worker whose write crosses the limit names its block and stops the run; the workers waiting
// for their turn behind it end without a word, and the file holds every block before it.
TEST_F(BlockWriterPosixTest, AFileSizeLimitStopsEveryWorkerAtTheBlockThatCrossesIt) {
  const uint32_t blockSize = kPipelineSlotBytes;
  const uint64_t crossing = 5;
  TestConfig job = Job(L"velkor.bin", blockSize, 4);
  job.ioChunkSize = 65536;
  WriteFileBytes(job.filePath, "");
  auto state = StateFor(12);

  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  auto* const previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = before;
  limited.rlim_cur = crossing * blockSize + blockSize / 2;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  RunAll(WriteWorker, job, state);
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(state->blocksWritten, crossing);
  EXPECT_EQ(state->errorCount, 0u);
  EXPECT_EQ(CurrentStopReason(*state), StopReason::kFileSystemLimit);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("FEHLER: Das Dateisystem nimmt keine so große Datei an", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(", Block=5, Offset=" + std::to_string(crossing * blockSize) + ", "), std::string::npos)
      << lines[0];
  EXPECT_TRUE(ReadFileBytes(job.filePath).substr(0, crossing * blockSize) == Blocks(crossing, blockSize));
}

}  // namespace
}  // namespace velkor
