// The log file while other programs hold it: a second copy of the program that appends too, and a
// program that holds it without sharing for a while.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/diag_log.h"
#include "common/handover.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

HANDLE Hold(const std::wstring& path, DWORD access, DWORD share) {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(DiagLogHeld, NoLineIsLostWhileAnotherProgramHoldsTheFile) {
  TempFolder folder;
  const std::wstring path = folder.File(L"velkor.log");
  SetUiReceiver({});
  SetLogFilePath(path);
  AppendDiagLog(L"eins");

  // Another copy of the program appends through a handle of its own.
  HANDLE other = Hold(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  AppendDiagLog(L"zwei");
  DWORD written = 0;
  WriteFile(other, "andere Kopie\r\n", 14, &written, nullptr);
  AppendDiagLog(L"drei");
  CloseHandle(other);

  // A program that shares nothing: the line waits and goes first once the file is free.
  HANDLE exclusive = Hold(path, GENERIC_READ, 0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  AppendDiagLog(L"vier");
  CloseHandle(exclusive);
  AppendDiagLog(L"fünf");

  const std::string text = ReadFileBytes(path);
  size_t at = 0;
  for (const char* line : {"] eins\r\n", "] zwei\r\n", "andere Kopie\r\n", "] drei\r\n", "] vier\r\n",
                           "] f\xC3\xBCnf\r\n"}) {
    const size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << " missing or out of order in:\n" << text;
    at = found + 1;
  }
}

}  // namespace
}  // namespace velkor
