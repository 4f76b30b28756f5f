#include "engine/medium_sync.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/files.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class MediumSyncTest : public testing::WorkerTest {};

TEST_F(MediumSyncTest, FlushAndEvictKeepTheContent) {
  const std::wstring path = folder_.File(L"velkor.bin");
  const std::string content = Blocks(3, 4096);
  WriteFileBytes(path, content);
  uint32_t code = 0;
  EXPECT_TRUE(FlushAndEvictFile(path, &code)) << code;
  EXPECT_TRUE(EvictFile(path, &code)) << code;
  EXPECT_TRUE(ReadFileBytes(path) == content);
}

TEST_F(MediumSyncTest, AMissingFileFailsWithItsCode) {
  const std::wstring path = folder_.File(L"absent.bin");
  uint32_t code = 0;
  EXPECT_FALSE(FlushAndEvictFile(path, &code));
  EXPECT_EQ(code, platform::kErrorFileNotFound);
  code = 0;
  EXPECT_FALSE(EvictFile(path, &code));
  EXPECT_EQ(code, platform::kErrorFileNotFound);
}

// Sizes that direct reads cannot keep aligned still read past the cache, through a bounce buffer;
// only a file that does not open for direct reads (here: one that is not there) goes through it.
TEST_F(MediumSyncTest, UnalignedJobsStillReadPastTheCache) {
  TestConfig aligned = Job(L"velkor.bin", 65536, 2);
  WriteFileBytes(aligned.filePath, Blocks(1, 65536));
  const uint32_t a = platform::DirectIoAlignment(aligned.filePath);
  ASSERT_GE(a, 512u);

  TestConfig blockOff = aligned;
  blockOff.blockSize = a + a / 2;
  TestConfig chunkOff = aligned;
  chunkOff.ioChunkSize = 4096 + a / 2;
  TestConfig startOff = aligned;
  startOff.startOffset = a / 2;
  TestConfig missing = aligned;
  missing.filePath = folder_.File(L"absent.bin");
  const bool direct = CanReadPastCache(aligned);
  EXPECT_FALSE(ChooseVerifyReadMode(aligned).bounce);
  for (const TestConfig* job : {&blockOff, &chunkOff, &startOff}) {
    const VerifyReadMode mode = ChooseVerifyReadMode(*job);
    EXPECT_EQ(mode.pastCache, direct);
    EXPECT_EQ(mode.bounce, direct);
  }
  EXPECT_FALSE(ChooseVerifyReadMode(missing).pastCache);
  // A chunk below one page is raised to 4096 and stays aligned.
  TestConfig smallChunk = aligned;
  smallChunk.ioChunkSize = 1000;
  EXPECT_EQ(CanReadPastCache(smallChunk), CanReadPastCache(aligned));
  const VerifyReadMode mode = ChooseVerifyReadMode(aligned);
  if (mode.pastCache) {
    EXPECT_EQ(mode.alignment, a);
  }
}

}  // namespace
}  // namespace velkor
