// The results file's replacement while a viewer or scanner holds the old file for a moment.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "results/results_database.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

TEST(ResultsFileHeld, TheFinalVersionReplacesAFileHeldForAMoment) {
  TempFolder folder;
  const std::wstring path = folder.File(L"lauf-velkor.json");
  ResultsFileHeader header;
  header.driveRoot = L"E:\\";
  ASSERT_TRUE(SaveResultsFile(path, header, {}, false));

  // Held as a viewer holds it: reading, nobody may delete or replace it meanwhile.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread holder([held] {
    Sleep(400);
    CloseHandle(held);
  });
  const bool saved = SaveResultsFile(path, header, {}, true);
  holder.join();
  EXPECT_TRUE(saved);
  EXPECT_NE(ReadFileBytes(path).find("\"final\": true"), std::string::npos);
  EXPECT_EQ(GetFileAttributesW((path + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace velkor
