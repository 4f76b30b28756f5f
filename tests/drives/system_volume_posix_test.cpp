#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "drives/enumerate.h"
#include "drives/target_folder.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

// HOME for the length of a test.
class HomeAt {
 public:
  explicit HomeAt(const char* home) {
    const char* saved = std::getenv("HOME");
    had_ = saved != nullptr;
    if (had_) saved_ = saved;
    ::setenv("HOME", home, 1);
  }
  ~HomeAt() {
    if (had_) ::setenv("HOME", saved_.c_str(), 1);
    else ::unsetenv("HOME");
  }

 private:
  bool had_ = false;
  std::string saved_;
};

bool SeparateShm() {
  struct stat shm, root;
  return ::stat("/dev/shm", &shm) == 0 && ::stat("/", &root) == 0 && shm.st_dev != root.st_dev;
}

// The root file system and the volume of the user's home are the system; a target folder on one
// of them says so as well as a drive root does.
TEST(SystemVolume, RootAndTheVolumeOfTheHome) {
  if (!SeparateShm()) GTEST_SKIP() << "no separate /dev/shm volume here";
  {
    HomeAt home("/gibt/es/nicht");
    EXPECT_TRUE(IsSystemVolume(L"/"));
    EXPECT_FALSE(IsSystemVolume(L"/dev/shm"));
    DriveInfo target;
    ASSERT_TRUE(DescribeTestTarget(L"/dev/shm", &target));
    EXPECT_FALSE(target.systemVolume);
  }
  HomeAt home("/dev/shm");
  EXPECT_TRUE(IsSystemVolume(L"/dev/shm"));
  DriveInfo target;
  ASSERT_TRUE(DescribeTestTarget(L"/dev/shm", &target));
  EXPECT_TRUE(target.systemVolume);
  EXPECT_EQ(target.status, L"System");
}

TEST(ProgramVolume, TheVolumeOfTheProgramsFolder) {
  struct stat exe;
  ASSERT_EQ(::stat("/proc/self/exe", &exe), 0);
  struct stat root;
  ASSERT_EQ(::stat("/", &root), 0);
  EXPECT_EQ(IsProgramVolume(L"/"), root.st_dev == exe.st_dev);
  if (SeparateShm()) {
    EXPECT_FALSE(IsProgramVolume(L"/dev/shm"));
  }
}

}  // namespace
}  // namespace velkor
