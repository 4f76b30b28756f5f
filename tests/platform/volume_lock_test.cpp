// The lock that keeps a second run off a volume: its key per volume and its holding rules. The
// locks here have names of their own, so a run of velkor-cli elsewhere on the machine is not
// disturbed by them.
#include "platform/volume_lock.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

std::wstring UniqueKey(const testing::TempFolder& folder) {
  std::wstring key = L"test";
  for (wchar_t c : folder.path()) key.push_back(iswalnum(c) ? c : L'-');
  return key;
}

TEST(VolumeLock, EveryFolderOfAVolumeHasItsKey) {
  testing::TempFolder folder;
  ASSERT_TRUE(platform::CreateFolder(folder.File(L"sub")));
  const std::wstring key = platform::VolumeLockKey(folder.path());
  EXPECT_FALSE(key.empty());
  EXPECT_EQ(platform::VolumeLockKey(folder.File(L"sub")), key);
  EXPECT_EQ(platform::VolumeLockKey(folder.File(L"missing")), L"");
}

TEST(VolumeLock, OneHolderAtATime) {
  testing::TempFolder folder;
  const std::wstring key = UniqueKey(folder);
  platform::VolumeLock first, second;
  ASSERT_EQ(platform::TryLockKey(key, &first), platform::VolumeLockResult::kTaken);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(platform::TryLockKey(key, &second), platform::VolumeLockResult::kBusy);
  EXPECT_FALSE(second.held());
  EXPECT_EQ(platform::TryLockKey(key + L"-other", &second), platform::VolumeLockResult::kTaken);
  platform::UnlockVolume(second);

  platform::UnlockVolume(first);
  EXPECT_FALSE(first.held());
  EXPECT_EQ(platform::TryLockKey(key, &second), platform::VolumeLockResult::kTaken);
  // Moving hands the lock on; the last owner's end lets it go.
  {
    platform::VolumeLock moved = std::move(second);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(platform::TryLockKey(key, &first), platform::VolumeLockResult::kBusy);
  }
  EXPECT_EQ(platform::TryLockKey(key, &first), platform::VolumeLockResult::kTaken);
  EXPECT_EQ(platform::TryLockVolume(folder.File(L"missing"), &second), platform::VolumeLockResult::kFailed);
}

}  // namespace
}  // namespace velkor
