#include "common/paths.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

TEST(ProgramDirectory, FolderOfTheProgramFile) {
  EXPECT_EQ(ProgramDirectoryOf(L"C:\\Tools\\Velkor\\velkor.exe"), L"C:\\Tools\\Velkor");
  EXPECT_EQ(ProgramDirectoryOf(L"E:\\velkor.exe"), L"E:");  // drive root: no trailing separator
  EXPECT_EQ(ProgramDirectoryOf(L"/opt/velkor/velkor-cli"), L"/opt/velkor");
  EXPECT_EQ(ProgramDirectoryOf(L"velkor.exe"), L".");
  EXPECT_EQ(ProgramDirectoryOf(L""), L".");
}

TEST(ProgramDirectory, TheRunningTestIsInTheBinFolder) {
  EXPECT_EQ(FileNameOfPath(GetProgramDirectory()), L"bin");
}

TEST(ProgramDirectory, ResultsAndExportsFoldersAreCreatedBesideTheProgram) {
  for (const std::wstring& folder : {GetResultsDirectory(), GetExportsDirectory()}) {
    const std::wstring probe = JoinPath(folder, L"probe.tmp");
    platform::FileHandle file = platform::CreateFileTruncate(probe);
    ASSERT_TRUE(file.valid()) << "folder missing: " << std::string(folder.begin(), folder.end());
    platform::CloseFile(file);
    platform::DeleteFileAtPath(probe);
  }
  EXPECT_EQ(FileNameOfPath(GetResultsDirectory()), L"results");
  EXPECT_EQ(FileNameOfPath(GetExportsDirectory()), L"exports");
}

// An installed program keeps its files in the user's folder, a portable copy beside itself.
TEST(DataDirectory, BesideTheProgramUnlessInstalled) {
  const struct {
    const wchar_t* program;
    bool systemFolder;
    const wchar_t* userData;
    const wchar_t* expected;
  } cases[] = {
      {L"/usr/bin", true, L"/home/ana/.local/share/", L"/home/ana/.local/share/velkor"},
      {L"/usr/bin", true, L"", L"/usr/bin"},  // nowhere else known: as before
      {L"/media/stick/velkor", false, L"/home/ana/.local/share", L"/media/stick/velkor"},
      {L"E:\\Velkor", false, L"C:\\Users\\ana\\AppData\\Local", L"E:\\Velkor"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DataDirectoryFor(c.program, c.systemFolder, c.userData), c.expected);
  }
  // The test programs lie in a build folder: a portable copy.
  EXPECT_EQ(GetDataDirectory(), GetProgramDirectory());
  EXPECT_EQ(DataDirectoryNote(), L"");
}

// Only a file that can really be made counts: a temporary folder can be written, the kernel's
// process folder cannot, not even by an administrator.
TEST(DataDirectory, WritableFoldersAreTriedWithAProbeFile) {
  testing::TempFolder folder;
  EXPECT_TRUE(IsFolderWritable(folder.path()));
  EXPECT_TRUE(platform::ListFolder(folder.path(), L"*").empty());  // the probe is gone again
  // A probe file left behind by a program that ended too early does not count against it.
  testing::WriteFileBytes(folder.File(L"velkor-schreibprobe.tmp"), "");
  EXPECT_TRUE(IsFolderWritable(folder.path()));
  EXPECT_TRUE(platform::ListFolder(folder.path(), L"*").empty());
  EXPECT_FALSE(IsFolderWritable(folder.File(L"missing")));
  const std::wstring proc = platform::PathSeparator() == L'/' ? L"/proc" : L"Z:\\proc";
  EXPECT_FALSE(IsFolderWritable(proc));
}

TEST(JoinPath, DoesNotDoubleARootSeparator) {
  EXPECT_EQ(JoinPath(L"E:\\", L"velkor.bin"), L"E:\\velkor.bin");
  EXPECT_EQ(JoinPath(L"/media/stick/", L"velkor.bin"), L"/media/stick/velkor.bin");
  const std::wstring joined = JoinPath(L"dir", L"name");
  EXPECT_EQ(joined, std::wstring(L"dir") + platform::PathSeparator() + L"name");
}

TEST(FileNameOfPath, TextAfterTheLastSeparator) {
  EXPECT_EQ(FileNameOfPath(L"C:\\a\\b\\results.json"), L"results.json");
  EXPECT_EQ(FileNameOfPath(L"/a/b/c.json"), L"c.json");
  EXPECT_EQ(FileNameOfPath(L"mixed/a\\b.json"), L"b.json");
  EXPECT_EQ(FileNameOfPath(L"plain.json"), L"plain.json");
  EXPECT_EQ(FileNameOfPath(L"E:\\"), L"");
}

TEST(SanitizeFileName, ReplacesTheNineForbiddenCharacters) {
  EXPECT_EQ(SanitizeFileName(L"E:\\"), L"E__");
  EXPECT_EQ(SanitizeFileName(L"a:b\\c/d*e?f\"g<h>i|j"), L"a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(SanitizeFileName(L"Größe 1 GB"), L"Größe 1 GB");
}

}  // namespace
}  // namespace velkor
