// The volume lock between two processes: the window-less velkor-cli of another shell sees the
// lock a running test holds.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/volume_lock.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

TEST(VolumeLockPosix, AnotherProcessSeesTheLockUntilItsHolderEnds) {
  testing::TempFolder folder;
  std::wstring key = L"test-process";
  for (wchar_t c : folder.path()) key.push_back(iswalnum(c) ? c : L'-');
  int toChild[2], toParent[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(toParent), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::VolumeLock lock;
    const char taken = platform::TryLockKey(key, &lock) == platform::VolumeLockResult::kTaken ? 'y' : 'n';
    (void)!write(toParent[1], &taken, 1);
    char go = 0;
    (void)!read(toChild[0], &go, 1);  // holds the lock until the parent says so
    _exit(0);
  }
  char taken = 0;
  ASSERT_EQ(read(toParent[0], &taken, 1), 1);
  ASSERT_EQ(taken, 'y');
  platform::VolumeLock lock;
  EXPECT_EQ(platform::TryLockKey(key, &lock), platform::VolumeLockResult::kBusy);
  const char go = 'x';
  ASSERT_EQ(write(toChild[1], &go, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  // The holder's end let the lock go, without any unlock of its own.
  EXPECT_EQ(platform::TryLockKey(key, &lock), platform::VolumeLockResult::kTaken);
  for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
}

}  // namespace
}  // namespace velkor
