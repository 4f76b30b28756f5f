// Where a file's bytes lie on its medium.
#include "platform/file_extents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

TEST(FileExtents, StretchesThatContinueOneAnotherAreJoined) {
  std::vector<FileExtent> extents = {{0, 4096, 4096},  {4096, 8192, 4096},  // continues on both
                                     {8192, 65536, 0},                      // empty: dropped
                                     {8192, 65536, 8192},                   // a jump on the medium
                                     {20480, 73728, 4096}};                 // a gap in the file
  MergeFileExtents(&extents);
  EXPECT_EQ(extents, (std::vector<FileExtent>{{0, 4096, 8192}, {8192, 65536, 8192}, {20480, 73728, 4096}}));
}

// Where the system tells, every byte of the file lies in one stretch, in file order; where it
// cannot (tmpfs, a driver without a map, Wine), it says why and gives nothing.
TEST(FileExtents, AWrittenFileIsCoveredFromStartToEndOrNotAtAll) {
  testing::TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  testing::WriteFileBytes(path, std::string(3 * 65536 + 100, 'x'));
  std::vector<FileExtent> extents = {{1, 2, 3}};
  if (!QueryFileExtents(path, &extents)) {
    EXPECT_TRUE(extents.empty());
    EXPECT_NE(LastError(), 0u);
    return;
  }
  ASSERT_FALSE(extents.empty());
  uint64_t next = 0;
  for (const FileExtent& e : extents) {
    EXPECT_EQ(e.fileOffset, next);
    EXPECT_GT(e.length, 0u);
    next = e.fileOffset + e.length;
  }
  EXPECT_GE(next, 3u * 65536 + 100);
  std::vector<FileExtent> missing;
  EXPECT_FALSE(QueryFileExtents(folder.File(L"nowhere.bin"), &missing));
}

}  // namespace
}  // namespace velkor::platform
