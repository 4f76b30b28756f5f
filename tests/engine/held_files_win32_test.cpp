// A test file that another program holds for a moment, as a virus scanner does: a real sharing
// violation under Wine, released after a while by another thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "engine/held_files.h"
#include "engine/run_files.h"
#include "platform/errors.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

// Opens path with no sharing at all (nobody else may open or delete it) and lets it go after
// holdMs on a thread of its own.
std::thread HoldFor(const std::wstring& path, int holdMs) {
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(held, INVALID_HANDLE_VALUE);
  return std::thread([held, holdMs] {
    Sleep(static_cast<DWORD>(holdMs));
    CloseHandle(held);
  });
}

TEST(HeldFilesWin32, OpenAndDeleteWaitForAFileHeldForAMoment) {
  testing::TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  testing::WriteFileBytes(path, "block");

  std::thread holder = HoldFor(path, 400);
  // Without waiting it fails as the scanner's victim would.
  EXPECT_FALSE(platform::OpenFileForWrite(path, false).valid());
  EXPECT_EQ(platform::LastError(), platform::kErrorSharingViolation);
  platform::FileHandle file = OpenTestFileForWrite(path, false);
  EXPECT_TRUE(file.valid());
  platform::CloseFile(file);
  holder.join();

  // The deletion after the user's Yes.
  TestState run;
  run.createdFiles = {path};
  ASSERT_TRUE(platform::QueryPathIdentity(path, &run.createdIdentities[path]));
  holder = HoldFor(path, 400);
  DeleteRunTestFiles(run);
  holder.join();
  EXPECT_FALSE(platform::FileExists(path));
}

TEST(HeldFilesWin32, AFileHeldLongerIsReportedAsHeld) {
  testing::TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  testing::WriteFileBytes(path, "block");
  std::thread holder = HoldFor(path, kHeldFileRetryMs + 2000);
  EXPECT_FALSE(OpenTestFileForRead(path).valid());
  const uint32_t code = platform::LastError();
  EXPECT_TRUE(IsHeldFileError(code)) << code;
  holder.join();
}

}  // namespace
}  // namespace velkor
