#include "pdf/file_writers.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

TEST(WriteUtf8File, Utf8WithoutByteOrderMarkReplacingTheFile) {
  TempFolder folder;
  const std::wstring path = folder.File(L"text.txt");
  WriteFileBytes(path, std::string(100, 'x'));  // a longer old file leaves no remnant
  ASSERT_TRUE(WriteUtf8File(path, L"Größe \u20AC \U0001F600\r\n"));
  EXPECT_EQ(ReadFileBytes(path), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80\r\n");
  ASSERT_TRUE(WriteUtf8File(path, L""));
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(WriteBinaryFile, BytesAsTheyAre) {
  TempFolder folder;
  const std::wstring path = folder.File(L"data.bin");
  const std::string bytes("%PDF\0\xFF\x80\r\n", 9);
  ASSERT_TRUE(WriteBinaryFile(path, bytes));
  EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(FileWriters, FailWhenTheFileCannotBeCreated) {
  TempFolder folder;
  EXPECT_FALSE(WriteUtf8File(JoinPath(folder.File(L"fehlt"), L"a.txt"), L"x"));
  EXPECT_FALSE(WriteBinaryFile(JoinPath(folder.File(L"fehlt"), L"a.bin"), "x"));
  EXPECT_FALSE(WriteBinaryFile(folder.path(), "x"));  // a folder
}

TEST(ToWindows1252, GermanTextAndTheEuroSign) {
  EXPECT_EQ(ToWindows1252(L"Zuverlässig ÄÖÜß \u20AC"), "Zuverl\xE4ssig \xC4\xD6\xDC\xDF \x80");
  EXPECT_EQ(ToWindows1252(L""), "");
  const std::string other = ToWindows1252(L"a\u2713b");  // no Windows-1252 form: one stand-in byte
  ASSERT_EQ(other.size(), 3u);
  EXPECT_EQ(other[0], 'a');
  EXPECT_EQ(other[2], 'b');
}

}  // namespace
}  // namespace velkor
