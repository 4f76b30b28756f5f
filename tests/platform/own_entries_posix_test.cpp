// Entries only POSIX systems make from a test: links of both kinds and pipes. None of them may be
// followed, opened for writing or deleted in place of the file they stand for.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using velkor::testing::ReadFileBytes;
using velkor::testing::TempFolder;
using velkor::testing::WriteFileBytes;

std::string Native(const std::wstring& path) { return WideToUtf8(path); }

std::string LinkTarget(const std::wstring& link) {
  char buffer[4096];
  const ssize_t n = ::readlink(Native(link).c_str(), buffer, sizeof buffer);
  return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

TEST(OwnEntries, NothingButAPlainFileIsOpenedOrDeleted) {
  TempFolder folder;
  const std::wstring user = folder.File(L"foto.jpg");
  const std::string photo(70000, 'p');
  const struct {
    const char* what;
    std::function<void(const std::string& entry)> make;
    EntryKind kind;
  } cases[] = {
      {"symbolic link to a user file", [&](const std::string& e) { ASSERT_EQ(::symlink(Native(user).c_str(), e.c_str()), 0); },
       EntryKind::kSymbolicLink},
      {"dangling symbolic link", [](const std::string& e) { ASSERT_EQ(::symlink("/nowhere/velkor", e.c_str()), 0); },
       EntryKind::kSymbolicLink},
      {"symbolic link to a folder", [&](const std::string& e) { ASSERT_EQ(::symlink(Native(folder.path()).c_str(), e.c_str()), 0); },
       EntryKind::kSymbolicLink},
      {"hard link of a user file", [&](const std::string& e) { ASSERT_EQ(::link(Native(user).c_str(), e.c_str()), 0); },
       EntryKind::kHardLinked},
      {"pipe", [](const std::string& e) { ASSERT_EQ(::mkfifo(e.c_str(), 0644), 0); }, EntryKind::kDevice},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(user, photo);
    const std::wstring entry = folder.File(L"velkor.bin");
    c.make(Native(entry));
    EntryInfo found;
    ASSERT_TRUE(InspectEntry(entry, &found));
    EXPECT_EQ(found.kind, c.kind);
    const FileIdentity entryIdentity = found.identity;

    bool created = true;
    EXPECT_FALSE(OpenOwnFile(entry, &found, &created).valid());
    EXPECT_EQ(found.kind, c.kind);
    EXPECT_EQ(LastError(), kErrorAccessDenied);
    EXPECT_FALSE(created);
    EXPECT_FALSE(OpenFileForWrite(entry, false).valid());
    EXPECT_FALSE(OpenFileForWrite(entry, true).valid());

    // The identity of what a link leads to does not make the link deletable.
    FileIdentity userIdentity;
    ASSERT_TRUE(QueryPathIdentity(user, &userIdentity));
    if (c.kind == EntryKind::kSymbolicLink) {
      EXPECT_EQ(DeleteFileIfSame(entry, userIdentity, &found), SameFileDelete::kNotTheSame);
    }
    EXPECT_EQ(ReadFileBytes(user), photo);
    ASSERT_TRUE(InspectEntry(entry, &found));
    EXPECT_EQ(found.kind, c.kind);
    EXPECT_EQ(found.identity, entryIdentity);
    ASSERT_EQ(::unlink(Native(entry).c_str()), 0);
  }
}

TEST(OwnEntries, AHardLinkAddedToOurFileLosesOnlyOurName) {
  TempFolder folder;
  const std::wstring ours = folder.File(L"velkor.bin");
  EntryInfo found;
  bool created = false;
  FileHandle file = OpenOwnFile(ours, &found, &created);
  ASSERT_TRUE(file.valid());
  CloseFile(file);
  const FileIdentity identity = found.identity;
  ASSERT_EQ(::link(Native(ours).c_str(), Native(folder.File(L"kopie.bin")).c_str()), 0);
  EXPECT_EQ(DeleteFileIfSame(ours, identity, &found), SameFileDelete::kDeleted);
  EXPECT_TRUE(FileExists(folder.File(L"kopie.bin")));
}

TEST(OwnEntries, AFolderReplacedUnderItsNameIsAnotherFolder) {
  TempFolder folder;
  const std::wstring target = folder.File(L"stick");
  ASSERT_TRUE(CreateFolder(target));
  FileIdentity before, after;
  ASSERT_TRUE(QueryPathIdentity(target, &before));
  ASSERT_EQ(::rename(Native(target).c_str(), Native(folder.File(L"stick-gone")).c_str()), 0);
  EXPECT_FALSE(QueryPathIdentity(target, &after));
  ASSERT_TRUE(CreateFolder(target));
  ASSERT_TRUE(QueryPathIdentity(target, &after));
  EXPECT_NE(before, after);
  EXPECT_EQ(before.volume, after.volume);
}

// The user's home counts as system wherever it lies; /dev/shm is its own volume on Linux.
TEST(SystemFolders, RootAndHome) {
  const char* saved = std::getenv("HOME");
  const std::string home = saved ? saved : "";
  ::setenv("HOME", "/dev/shm", 1);
  const std::vector<std::wstring> folders = SystemFolders();
  ::setenv("HOME", home.c_str(), 1);
  if (saved == nullptr) ::unsetenv("HOME");
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0], L"/");
  EXPECT_EQ(folders[1], L"/dev/shm");
  struct stat shm, root;
  if (::stat("/dev/shm", &shm) != 0 || ::stat("/", &root) != 0 || shm.st_dev == root.st_dev) {
    GTEST_SKIP() << "no separate /dev/shm volume here";
  }
  EXPECT_TRUE(OnSameVolume(L"/dev/shm", L"/dev/shm/"));
  EXPECT_FALSE(OnSameVolume(L"/dev/shm", L"/"));
  EXPECT_FALSE(OnSameVolume(L"/dev/shm", L"/gibt/es/nicht"));
}

}  // namespace
}  // namespace velkor::platform
