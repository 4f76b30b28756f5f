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

// Any size that direct reads could not keep aligned sends the job through the cache, as does a
// file that is not there.
TEST_F(MediumSyncTest, UnalignedJobsReadThroughTheCache) {
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
  for (const TestConfig* job : {&blockOff, &chunkOff, &startOff, &missing}) {
    const VerifyReadMode mode = ChooseVerifyReadMode(*job);
    EXPECT_FALSE(mode.pastCache);
    EXPECT_FALSE(CanReadPastCache(*job));
  }
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
