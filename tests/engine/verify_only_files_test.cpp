#include "engine/verify_only_files.h"

#include <gtest/gtest.h>

#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::WriteFileBytes;

class DetectBlockSize : public testing::WorkerTest {};

// Block 1's pattern begins where block 0 ends: any size of whole KiB is found, the field's hint
// or not, and content that is not a test file's gives none.
TEST_F(DetectBlockSize, FromTheFilesContent) {
  const std::wstring path = folder_.File(L"velkor.bin");
  const struct {
    uint32_t written;
    uint32_t hint;
  } cases[] = {{65536, 65536}, {262144, 65536}, {6144, 1048576}, {1048576, 4096}, {8388608, 1048576},
               {4096, 8388608}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    WriteFileBytes(path, Blocks(3, c.written));
    EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, c.hint), c.written);
  }
  WriteFileBytes(path, std::string(3 * 65536, 'x'));
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 65536), 0u);
  std::string lostStart = Blocks(3, 65536);
  lostStart[10] ^= 1;  // a medium that lost the start of the file: nothing to go by
  WriteFileBytes(path, lostStart);
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 65536), 0u);
  WriteFileBytes(path, Pattern(0, 65536));  // one block: no second one to find
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 4096), 0u);
  EXPECT_EQ(DetectWrittenBlockSize(folder_.File(L"absent.bin"), kTestPatternSeed, 4096), 0u);
}

}  // namespace
}  // namespace velkor
