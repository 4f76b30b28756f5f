// Volume queries through paths longer than 260 characters and through a SUBST letter: both reach
// the volume they lie on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/volume_lock.h"
#include "platform/volumes.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using velkor::testing::TempFolder;

// A folder below base whose path is longer than 300 characters, made step by step.
std::wstring MakeDeepFolder(const std::wstring& base) {
  std::wstring path = base;
  while (path.size() <= 300) {
    path += L"\\" + std::wstring(40, L'v');
    if (!CreateDirectoryW(path.c_str(), nullptr)) return L"";
  }
  return path;
}

TEST(VolumePaths, QueriesOfAPathPast260Characters) {
  TempFolder folder;
  const std::wstring deep = MakeDeepFolder(folder.path());
  ASSERT_FALSE(deep.empty());
  ASSERT_GT(deep.size(), 300u);
  std::wstring root, fileSystem, shortRoot, shortFileSystem;
  ASSERT_TRUE(QueryPathVolume(deep, &root, &fileSystem));
  ASSERT_TRUE(QueryPathVolume(folder.path(), &shortRoot, &shortFileSystem));
  EXPECT_EQ(root, shortRoot);
  EXPECT_TRUE(OnSameVolume(deep, folder.path()));
  std::wstring device, shortDevice;
  ASSERT_TRUE(QueryPhysicalDevice(deep, &device));
  ASSERT_TRUE(QueryPhysicalDevice(folder.path(), &shortDevice));
  EXPECT_EQ(device, shortDevice);
  EXPECT_EQ(VolumeLockKey(deep), VolumeLockKey(folder.path()));
  EXPECT_GE(DirectIoAlignment(deep + L"\\file.bin"), 4096u);
}

// A free letter for a SUBST of the test's own; 0 when none is.
wchar_t FreeLetter() {
  const DWORD used = GetLogicalDrives();
  for (wchar_t letter = L'Q'; letter <= L'T'; ++letter) {
    if (!(used & (1u << (letter - L'A')))) return letter;
  }
  return 0;
}

TEST(VolumePaths, ASubstLetterIsTheVolumeItStandsFor) {
  TempFolder folder;
  const wchar_t letter = FreeLetter();
  if (letter == 0) GTEST_SKIP() << "no free drive letter";
  const std::wstring drive{letter, L':'};
  if (!DefineDosDeviceW(0, drive.c_str(), folder.path().c_str())) GTEST_SKIP() << "SUBST not available here";
  struct Undefine {
    std::wstring drive, target;
    ~Undefine() { DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), target.c_str()); }
  } undefine{drive, folder.path()};

  std::wstring target;
  ASSERT_TRUE(QueryDeviceTarget(drive + L"\\", &target));
  EXPECT_EQ(SubstitutedPath(target), folder.path());
  EXPECT_EQ(ResolveSubstitutedLetter(drive + L"\\unter\\datei.bin"), folder.path() + L"\\unter\\datei.bin");
  // The temporary folder lies on the system volume: so does the letter, and it shares its lock.
  ASSERT_FALSE(SystemFolders().empty());
  EXPECT_TRUE(OnSameVolume(drive + L"\\", SystemFolders().front()));
  EXPECT_TRUE(OnSameVolume(drive + L"\\", folder.path()));
  EXPECT_EQ(VolumeLockKey(drive + L"\\"), VolumeLockKey(folder.path()));
  std::wstring device, folderDevice;
  ASSERT_TRUE(QueryPhysicalDevice(drive + L"\\", &device));
  ASSERT_TRUE(QueryPhysicalDevice(folder.path(), &folderDevice));
  EXPECT_EQ(device, folderDevice);
}

}  // namespace
}  // namespace velkor::platform
