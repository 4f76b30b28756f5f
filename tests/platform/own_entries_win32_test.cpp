// Entries a Windows test can make: hard links, and where the system allows it symbolic links and
// junctions. None of them may be opened for writing or deleted in place of the file they stand for.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using velkor::testing::ReadFileBytes;
using velkor::testing::TempFolder;
using velkor::testing::WriteFileBytes;

// Refused by OpenOwnFile and OpenFileForWrite as kind; the user's file keeps its bytes.
void ExpectRefused(const std::wstring& entry, EntryKind kind, const std::wstring& user, const std::string& bytes) {
  EntryInfo found;
  bool created = true;
  EXPECT_FALSE(OpenOwnFile(entry, &found, &created).valid());
  EXPECT_EQ(found.kind, kind);
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  EXPECT_FALSE(created);
  EXPECT_FALSE(OpenFileForWrite(entry, false).valid());
  EXPECT_EQ(ReadFileBytes(user), bytes);
}

TEST(OwnEntries, AHardLinkOfAUserFileIsNotOurs) {
  TempFolder folder;
  const std::wstring user = folder.File(L"foto.jpg");
  const std::string photo(70000, 'p');
  WriteFileBytes(user, photo);
  const std::wstring entry = folder.File(L"velkor.bin");
  ASSERT_TRUE(CreateHardLinkW(entry.c_str(), user.c_str(), nullptr));
  EntryInfo found;
  ASSERT_TRUE(InspectEntry(entry, &found));
  EXPECT_EQ(found.kind, EntryKind::kHardLinked);
  EXPECT_EQ(found.links, 2u);
  ExpectRefused(entry, EntryKind::kHardLinked, user, photo);

  // Our own file that gained a second name loses only ours when deleted.
  FileIdentity identity;
  ASSERT_TRUE(QueryPathIdentity(user, &identity));
  EXPECT_EQ(DeleteFileIfSame(entry, identity, &found), SameFileDelete::kDeleted);
  EXPECT_EQ(ReadFileBytes(user), photo);
}

TEST(OwnEntries, ASymbolicLinkIsNotFollowed) {
  TempFolder folder;
  const std::wstring user = folder.File(L"foto.jpg");
  const std::string photo(70000, 'p');
  WriteFileBytes(user, photo);
  const std::wstring entry = folder.File(L"velkor.bin");
  // Needs developer mode or the privilege on Windows; Wine answers but makes nothing.
  if (!CreateSymbolicLinkW(entry.c_str(), user.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
      GetFileAttributesW(entry.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "symbolic links cannot be made here";
  }
  ExpectRefused(entry, EntryKind::kReparsePoint, user, photo);
  FileIdentity identity;
  ASSERT_TRUE(QueryPathIdentity(user, &identity));
  EntryInfo found;
  EXPECT_EQ(DeleteFileIfSame(entry, identity, &found), SameFileDelete::kNotTheSame);
}

TEST(OwnEntries, AJunctionIsNotFollowed) {
  TempFolder folder;
  const std::wstring inside = folder.File(L"ordner");
  ASSERT_TRUE(CreateDirectoryW(inside.c_str(), nullptr));
  const std::wstring entry = folder.File(L"velkor.bin");
  ASSERT_TRUE(CreateDirectoryW(entry.c_str(), nullptr));
  HANDLE h = CreateFileW(entry.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  // A mount-point reparse buffer: tag, lengths, then substitute and print names.
  const std::wstring substitute = L"\\??\\" + inside;
  std::vector<BYTE> buffer(8 + 8 + (substitute.size() + 2) * sizeof(wchar_t), 0);
  const WORD nameBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  const WORD dataLength = static_cast<WORD>(8 + nameBytes + 2 * sizeof(wchar_t));
  const WORD offsets[4] = {0, nameBytes, static_cast<WORD>(nameBytes + sizeof(wchar_t)), 0};
  std::memcpy(buffer.data(), &tag, 4);
  std::memcpy(buffer.data() + 4, &dataLength, 2);
  std::memcpy(buffer.data() + 8, offsets, 8);
  std::memcpy(buffer.data() + 16, substitute.data(), nameBytes);
  DWORD returned = 0;
  const BOOL made = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), 8 + dataLength, nullptr, 0, &returned,
                                    nullptr);
  CloseHandle(h);
  if (!made) GTEST_SKIP() << "junctions cannot be made here (error " << GetLastError() << ")";
  EntryInfo found;
  ASSERT_TRUE(InspectEntry(entry, &found));
  EXPECT_EQ(found.kind, EntryKind::kReparsePoint);
  bool created = true;
  EXPECT_FALSE(OpenOwnFile(entry, &found, &created).valid());
  EXPECT_NE(found.kind, EntryKind::kPlainFile);
  EXPECT_FALSE(created);
}

}  // namespace
}  // namespace velkor::platform
