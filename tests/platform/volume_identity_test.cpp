// The identity of the mounted volume under a path, which a run compares to tell a drive that went
// away from a medium that fails.
#include <gtest/gtest.h>

#include <string>

#include "platform/volumes.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::TempFolder;

TEST(VolumeIdentity, NamesTheVolumeThatHoldsAPathTheSameEachTime) {
  TempFolder folder;
  std::wstring first, again, ofFile;
  ASSERT_TRUE(platform::QueryVolumeIdentity(folder.path(), &first));
  EXPECT_FALSE(first.empty());
  ASSERT_TRUE(platform::QueryVolumeIdentity(folder.path(), &again));
  EXPECT_EQ(again, first);
  testing::WriteFileBytes(folder.File(L"a.bin"), "a");
  ASSERT_TRUE(platform::QueryVolumeIdentity(folder.File(L"a.bin"), &ofFile));
  EXPECT_EQ(ofFile, first);
  std::wstring missing;
  EXPECT_FALSE(platform::QueryVolumeIdentity(folder.File(L"nowhere/x"), &missing));
}

}  // namespace
}  // namespace velkor
