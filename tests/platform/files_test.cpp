#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using velkor::testing::ReadFileBytes;
using velkor::testing::TempFolder;
using velkor::testing::WriteFileBytes;

TEST(Files, PositionedWritesAndReads) {
  TempFolder folder;
  const std::wstring path = folder.File(L"data.bin");
  FileHandle created = CreateFileTruncate(path);
  ASSERT_TRUE(created.valid());
  CloseFile(created);

  FileHandle w = OpenFileForWrite(path, false);
  ASSERT_TRUE(w.valid());
  uint32_t done = 0;
  ASSERT_TRUE(WriteFileAt(w, 8192, "tail", 4, &done));
  EXPECT_EQ(done, 4u);
  ASSERT_TRUE(WriteFileAt(w, 0, "head", 4, &done));
  EXPECT_TRUE(FlushFileToMedium(w));
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSizeByHandle(w, &size));
  EXPECT_EQ(size, 8196u);
  CloseFile(w);
  EXPECT_FALSE(w.valid());

  FileHandle r = OpenFileForRead(path);
  ASSERT_TRUE(r.valid());
  char buffer[8] = {};
  ASSERT_TRUE(ReadFileAt(r, 8192, buffer, 8, &done));
  EXPECT_EQ(done, 4u);  // short read at the end
  EXPECT_EQ(std::string(buffer, 4), "tail");
  ASSERT_TRUE(ReadFileAt(r, 0, buffer, 4, &done));
  EXPECT_EQ(std::string(buffer, 4), "head");
  ASSERT_TRUE(ReadFileAt(r, 4, buffer, 4, &done));  // the hole reads as zeros
  EXPECT_EQ(std::string(buffer, 4), std::string(4, '\0'));
  // At and past the end: success with 0 bytes; the caller turns that into end of file.
  ASSERT_TRUE(ReadFileAt(r, 8196, buffer, 4, &done));
  EXPECT_EQ(done, 0u);
  ASSERT_TRUE(ReadFileAt(r, 1 << 20, buffer, 4, &done));
  EXPECT_EQ(done, 0u);
  CloseFile(r);
  EXPECT_TRUE(EvictFileFromCache(path));

  ASSERT_TRUE(GetFileSizeByPath(path, &size));
  EXPECT_EQ(size, 8196u);
}

TEST(Files, OpenFailuresCarryWindowsCodes) {
  TempFolder folder;
  const std::wstring missing = folder.File(L"missing.bin");
  EXPECT_FALSE(OpenFileForWrite(missing, false).valid());
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  EXPECT_FALSE(OpenFileForRead(missing).valid());
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  EXPECT_FALSE(DeleteFileAtPath(missing));
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  uint64_t size = 0;
  EXPECT_FALSE(GetFileSizeByPath(missing, &size));
  EXPECT_FALSE(FileExists(missing));

  const std::wstring inMissingFolder = folder.File(L"nofolder") + PathSeparator() + L"x.bin";
  EXPECT_FALSE(CreateFileTruncate(inMissingFolder).valid());
  EXPECT_EQ(LastError(), kErrorPathNotFound) << "a missing folder, not a missing file";
}

TEST(Files, CreateNewRefusesAnExistingFile) {
  TempFolder folder;
  const std::wstring path = folder.File(L"once.bin");
  FileHandle first = CreateFileNew(path);
  ASSERT_TRUE(first.valid());
  CloseFile(first);
  EXPECT_FALSE(CreateFileNew(path).valid());
  EXPECT_EQ(LastError(), kErrorFileExists);
}

TEST(Files, AppendAddsAtTheEnd) {
  TempFolder folder;
  const std::wstring path = folder.File(L"log.txt");
  for (const char* part : {"eins\r\n", "zwei\r\n"}) {
    FileHandle file = OpenFileForAppend(path);
    ASSERT_TRUE(file.valid());
    uint32_t done = 0;
    ASSERT_TRUE(WriteFileSequential(file, part, static_cast<uint32_t>(std::strlen(part)), &done));
    CloseFile(file);
  }
  EXPECT_EQ(ReadFileBytes(path), "eins\r\nzwei\r\n");
}

TEST(Files, FoldersAndListing) {
  TempFolder folder;
  const std::wstring sub = folder.File(L"results");
  ASSERT_TRUE(CreateFolder(sub));
  EXPECT_FALSE(CreateFolder(sub));
  EXPECT_EQ(LastError(), kErrorAlreadyExists);
  EXPECT_FALSE(FileExists(sub));

  for (const wchar_t* name : {L"20250101-E__.json", L"20250102-F__.JSON", L"note.txt", L"a.json.bak"}) {
    WriteFileBytes(sub + PathSeparator() + name, "{}");
  }
  ASSERT_TRUE(CreateFolder(sub + PathSeparator() + L"folder.json"));  // folders are not listed
  std::vector<std::wstring> names = ListFolder(sub, L"*.json");
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], L"20250101-E__.json");
  EXPECT_EQ(names[1], L"20250102-F__.JSON");
  EXPECT_EQ(ListFolder(sub, L"note.???").size(), 1u);
  EXPECT_TRUE(ListFolder(folder.File(L"nothing"), L"*").empty());
}

TEST(Files, DeletingAFolderIsRefused) {
  TempFolder folder;
  const std::wstring sub = folder.File(L"velkor.bin");
  ASSERT_TRUE(CreateFolder(sub));
  EXPECT_FALSE(DeleteFileAtPath(sub));
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  EXPECT_FALSE(OpenFileForRead(sub).valid());
}

TEST(Files, VolumeSpaceOfTheTempFolder) {
  TempFolder folder;
  uint64_t freeBytes = 0, total = 0;
  ASSERT_TRUE(GetVolumeSpace(folder.path(), &freeBytes, &total));
  EXPECT_GT(total, 0u);
  EXPECT_LE(freeBytes, total);
  EXPECT_FALSE(GetVolumeSpace(folder.File(L"missing"), &freeBytes, &total));
}

TEST(Files, DirectReadWhereTheFileSystemAllowsIt) {
  TempFolder folder;
  const std::wstring path = folder.File(L"direct.bin");
  std::string content(65536, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  WriteFileBytes(path, content);
  FileHandle file = OpenFileForDirectRead(path);
  if (!file.valid()) GTEST_SKIP() << "this file system refuses uncached reads";
  const uint32_t alignment = DirectIoAlignment(path);
  ASSERT_GE(alignment, 512u);
  ASSERT_EQ(alignment & (alignment - 1), 0u);
  std::vector<char> raw(65536 + alignment);
  char* aligned = raw.data() + (alignment - reinterpret_cast<uintptr_t>(raw.data()) % alignment) % alignment;
  uint32_t done = 0;
  ASSERT_TRUE(ReadFileAt(file, alignment, aligned, 65536 - alignment, &done));
  EXPECT_EQ(done, 65536 - alignment);
  EXPECT_EQ(std::string(aligned, done), content.substr(alignment));
  CloseFile(file);
}

}  // namespace
}  // namespace velkor::platform

namespace velkor::platform {
namespace {

std::wstring JoinForTest(const std::wstring& folder, const std::wstring& name) {
  return folder + PathSeparator() + name;
}

TEST(OwnFiles, CreatesOrReopensAPlainFileWithoutEmptyingIt) {
  TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  EntryInfo found;
  bool created = false;
  FileHandle file = OpenOwnFile(path, &found, &created);
  ASSERT_TRUE(file.valid());
  EXPECT_TRUE(created);
  EXPECT_EQ(found.kind, EntryKind::kPlainFile);
  uint32_t done = 0;
  ASSERT_TRUE(WriteFileAt(file, 0, "earlier run", 11, &done));
  CloseFile(file);
  FileIdentity identity;
  ASSERT_TRUE(QueryPathIdentity(path, &identity));
  EXPECT_EQ(found.identity, identity);

  // Opened again: the same file, still whole until the caller empties it.
  file = OpenOwnFile(path, &found, &created);
  ASSERT_TRUE(file.valid());
  EXPECT_FALSE(created);
  EXPECT_EQ(found.identity, identity);
  CloseFile(file);
  EXPECT_EQ(ReadFileBytes(path), "earlier run");
  file = OpenOwnFile(path, &found, &created);
  ASSERT_TRUE(file.valid());
  ASSERT_TRUE(SetFileSizeByHandle(file, 0));
  CloseFile(file);
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(OwnFiles, AFolderIsNeverOpenedAsAFile) {
  TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  ASSERT_TRUE(CreateFolder(path));
  WriteFileBytes(JoinForTest(path, L"inside.txt"), "user data");
  EntryInfo found;
  bool created = true;
  EXPECT_FALSE(OpenOwnFile(path, &found, &created).valid());
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  EXPECT_EQ(found.kind, EntryKind::kFolder);
  EXPECT_FALSE(created);
  EXPECT_FALSE(OpenFileForWrite(path, false).valid());
  EntryInfo entry;
  ASSERT_TRUE(InspectEntry(path, &entry));
  EXPECT_EQ(entry.kind, EntryKind::kFolder);
  EXPECT_EQ(ReadFileBytes(JoinForTest(path, L"inside.txt")), "user data");
}

TEST(OwnFiles, DeletesOnlyTheSameFile) {
  TempFolder folder;
  const std::wstring path = folder.File(L"velkor.bin");
  WriteFileBytes(path, "ours");
  FileIdentity ours;
  ASSERT_TRUE(QueryPathIdentity(path, &ours));
  EntryInfo found;

  // Replaced by another file of the same name (made while ours still existed, so it has another
  // number): it stays.
  WriteFileBytes(folder.File(L"other.bin"), "someone else's");
  ASSERT_TRUE(MoveFileReplacing(folder.File(L"other.bin"), path));
  FileIdentity other;
  ASSERT_TRUE(QueryPathIdentity(path, &other));
  ASSERT_NE(other, ours);
  EXPECT_EQ(DeleteFileIfSame(path, ours, &found), SameFileDelete::kNotTheSame);
  EXPECT_EQ(found.kind, EntryKind::kPlainFile);
  EXPECT_EQ(ReadFileBytes(path), "someone else's");

  EXPECT_EQ(DeleteFileIfSame(path, other, &found), SameFileDelete::kDeleted);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(DeleteFileIfSame(path, other, &found), SameFileDelete::kMissing);

  ASSERT_TRUE(CreateFolder(path));
  FileIdentity folderIdentity;
  ASSERT_TRUE(QueryPathIdentity(path, &folderIdentity));
  EXPECT_EQ(DeleteFileIfSame(path, folderIdentity, &found), SameFileDelete::kNotTheSame);
  EXPECT_EQ(found.kind, EntryKind::kFolder);
}

TEST(OwnFiles, InspectTellsMissingFromPlain) {
  TempFolder folder;
  EntryInfo entry;
  ASSERT_TRUE(InspectEntry(folder.File(L"none"), &entry));
  EXPECT_EQ(entry.kind, EntryKind::kMissing);
  WriteFileBytes(folder.File(L"one"), "x");
  ASSERT_TRUE(InspectEntry(folder.File(L"one"), &entry));
  EXPECT_EQ(entry.kind, EntryKind::kPlainFile);
  EXPECT_EQ(entry.links, 1u);
}

}  // namespace
}  // namespace velkor::platform
