// A run meets entries of the test files' names that are not its own files: links of both kinds,
// pipes, a folder that was swapped for another. The user's files stay byte for byte, and the run
// writes nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/paths.h"
#include "engine/run_files.h"
#include "engine/run_thread.h"
#include "engine/start_rules.h"
#include "engine/target_guard.h"
#include "platform/text.h"
#include "results/results_database.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

std::string Native(const std::wstring& path) { return platform::WideToUtf8(path); }

// What lstat sees of an entry: enough to tell that it was left exactly as it was.
std::string EntryFingerprint(const std::wstring& path) {
  struct stat st;
  if (::lstat(Native(path).c_str(), &st) != 0) return "missing";
  std::string text = std::to_string(st.st_mode) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size);
  char target[4096];
  const ssize_t n = ::readlink(Native(path).c_str(), target, sizeof target);
  if (n > 0) text += "->" + std::string(target, static_cast<size_t>(n));
  return text;
}

class OwnEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogFilePath(logs_.File(L"velkor.log"));
    SetUiReceiver({[this](std::wstring line) { log_.push_back(line.substr(11, line.size() - 13)); },
                   [this](std::wstring text) { status_.push_back(std::move(text)); },
                   {}});
  }
  void TearDown() override { SetUiReceiver({}); }

  TempFolder logs_;
  TempFolder drive_;
  TempFolder elsewhere_;  // another folder; /dev/shm stands for another volume where it is one
  std::vector<std::wstring> log_;
  std::vector<std::wstring> status_;
};

TEST_F(OwnEntries, NoTestFileIsMadeOverAnEntryThatIsNotOurs) {
  const std::wstring photo = drive_.File(L"foto.jpg");
  const std::wstring far = elsewhere_.File(L"system.dat");
  const std::string photoBytes(100000, 'f'), farBytes(5000, 's');
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
    const wchar_t* text;
  } cases[] = {
      {"link to a user file beside it", [&](const std::string& e) { ASSERT_EQ(::symlink("foto.jpg", e.c_str()), 0); },
       L"eine symbolische Verknüpfung"},
      {"link to a file on the system disk", [&](const std::string& e) { ASSERT_EQ(::symlink(Native(far).c_str(), e.c_str()), 0); },
       L"eine symbolische Verknüpfung"},
      {"dangling link", [](const std::string& e) { ASSERT_EQ(::symlink("gibt-es-nicht", e.c_str()), 0); },
       L"eine symbolische Verknüpfung"},
      {"link to a folder", [&](const std::string& e) { ASSERT_EQ(::symlink(Native(elsewhere_.path()).c_str(), e.c_str()), 0); },
       L"eine symbolische Verknüpfung"},
      {"hard link of the photo", [&](const std::string& e) { ASSERT_EQ(::link(Native(photo).c_str(), e.c_str()), 0); },
       L"eine Datei mit 2 Namen (harte Verknüpfung)"},
      {"pipe", [](const std::string& e) { ASSERT_EQ(::mkfifo(e.c_str(), 0644), 0); },
       L"ein Gerät oder eine andere Sonderdatei"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(photo, photoBytes);
    WriteFileBytes(far, farBytes);
    const std::wstring entry = drive_.File(L"velkor.bin");
    c.make(Native(entry));
    const std::string before = EntryFingerprint(entry);
    log_.clear();
    status_.clear();

    TestState state;
    state.driveRoot = drive_.path();
    ASSERT_TRUE(RecordTargetFolder(state));
    state.createdFiles = {drive_.File(L"velkor_p01.bin"), entry};
    EXPECT_FALSE(CreateTestFiles(state));
    EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Name einer Testdatei ist belegt: " + entry + L" ist " + c.text +
                                              L", keine Testdatei dieses Programms. Sie bleibt unverändert, der Test "
                                              L"schreibt nichts."});
    ASSERT_EQ(status_.size(), 1u);
    EXPECT_EQ(status_[0].rfind(L"Fehler: ", 0), 0u);
    EXPECT_EQ(ReadFileBytes(photo), photoBytes);
    EXPECT_EQ(ReadFileBytes(far), farBytes);
    EXPECT_EQ(EntryFingerprint(entry), before);
    EXPECT_EQ(EntryFingerprint(drive_.File(L"velkor_p01.bin")), "missing");

    // A verify-only run does not read through it either: it would judge another file.
    TestVariant v;
    v.filePath = entry;
    v.byteCount = 4096;
    log_.clear();
    EXPECT_FALSE(CheckVerifyOnlyFiles({v}, state));
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].rfind(L"FEHLER: Name einer Testdatei ist belegt: " + entry + L" ist " + c.text, 0), 0u);
    ASSERT_EQ(::unlink(Native(entry).c_str()), 0);
  }
}

TEST_F(OwnEntries, AFolderSwappedUnderTheTargetNameGetsNoFiles) {
  const std::wstring root = drive_.File(L"stick");
  ASSERT_TRUE(platform::CreateFolder(root));
  TestState state;
  state.driveRoot = root;
  ASSERT_TRUE(RecordTargetFolder(state));
  // The stick is gone and an empty folder of the same name (a mount point) is left on another disk.
  ASSERT_EQ(::rename(Native(root).c_str(), Native(drive_.File(L"stick-gone")).c_str()), 0);
  ASSERT_TRUE(platform::CreateFolder(root));
  WriteFileBytes(JoinPath(root, L"velkor_p02.bin"), "a user's file of that name");
  state.createdFiles = {JoinPath(root, L"velkor_p01.bin"), JoinPath(root, L"velkor_p02.bin")};
  EXPECT_FALSE(CreateTestFiles(state));
  EXPECT_TRUE(state.stopRequested);
  EXPECT_EQ(EntryFingerprint(JoinPath(root, L"velkor_p01.bin")), "missing");
  EXPECT_EQ(ReadFileBytes(JoinPath(root, L"velkor_p02.bin")), "a user's file of that name");
  EXPECT_EQ(log_, (std::vector<std::wstring>{TargetGoneLogLine(root)}));
  EXPECT_EQ(status_.back(), L"Fehler: Das Ziellaufwerk wurde entfernt oder geändert; es wird nichts mehr darauf geschrieben.");
  // Told once per run.
  EXPECT_FALSE(TargetStillInPlace(state));
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(OwnEntries, OurFileReplacedByALinkIsNotDeletedAtTheEnd) {
  const std::wstring photo = drive_.File(L"foto.jpg");
  WriteFileBytes(photo, "photo");
  TestState state;
  state.driveRoot = drive_.path();
  ASSERT_TRUE(RecordTargetFolder(state));
  const std::wstring ours = drive_.File(L"velkor.bin");
  state.createdFiles = {ours};
  ASSERT_TRUE(CreateTestFiles(state));
  ASSERT_EQ(::unlink(Native(ours).c_str()), 0);
  ASSERT_EQ(::symlink("foto.jpg", Native(ours).c_str()), 0);
  log_.clear();
  DeleteRunTestFiles(state);
  EXPECT_EQ(ReadFileBytes(photo), "photo");
  EXPECT_NE(EntryFingerprint(ours).find("->foto.jpg"), std::string::npos);
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Testdatei nicht gelöscht: " + ours +
                                            L" ist nicht mehr die Datei dieses Laufs, sondern eine symbolische "
                                            L"Verknüpfung. Sie bleibt unverändert."});
}

// The whole run, as both front-ends start it: a link named velkor.bin ends it in its preflight.
TEST_F(OwnEntries, ARunOverALinkEndsBeforeWriting) {
  TempFolder results;
  SetResultsFolder(results.path());
  const std::wstring far = elsewhere_.File(L"system.dat");
  WriteFileBytes(far, std::string(3000, 's'));
  ASSERT_EQ(::symlink(Native(far).c_str(), Native(drive_.File(L"velkor.bin")).c_str()), 0);
  TestConfig c;
  c.driveRoot = drive_.path();
  c.filePath = drive_.File(L"velkor.bin");
  c.testSize = 4 * 1048576;
  c.blockSize = 65536;
  c.workerCount = 1;
  c.reserveFree = 0;
  auto state = std::make_shared<TestState>();
  state->running = true;
  RunTest(c, state);
  SetResultsFolder(L"");
  EXPECT_FALSE(state->running);
  EXPECT_EQ(ReadFileBytes(far), std::string(3000, 's'));
  EXPECT_EQ(state->blocksWritten.load(), 0u);
  EXPECT_EQ(status_.back(), L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei).");
}

}  // namespace
}  // namespace velkor
