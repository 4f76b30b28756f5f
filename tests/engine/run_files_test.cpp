#include "engine/run_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "common/diag_log.h"
#include "common/format.h"
#include "common/handover.h"
#include "common/paths.h"
#include "engine/method_plan.h"
#include "engine/pattern.h"
#include "engine/target_guard.h"
#include "engine/worker_limits.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

constexpr uint64_t kMiB = 1048576;

// blocks blocks of the test pattern from block index first on, as a run writes them.
std::string PatternBytes(uint64_t first, uint64_t blocks, uint32_t blockSize = 4096) {
  std::string bytes(blocks * blockSize, '\0');
  for (uint64_t i = 0; i < blocks; ++i) FillPattern(bytes.data() + i * blockSize, blockSize, kTestPatternSeed, first + i);
  return bytes;
}

// Collects what the steps hand to the log view and the status line.
class TestFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogFilePath(logs_.File(L"velkor.log"));
    SetUiReceiver({[this](std::wstring line) {
                     // "[hh:mm:ss] " + message + CR LF
                     log_.push_back(line.substr(11, line.size() - 13));
                   },
                   [this](std::wstring text) { status_.push_back(std::move(text)); },
                   {}});
  }
  void TearDown() override { SetUiReceiver({}); }

  TestConfig ConfigOn(const std::wstring& root) const {
    TestConfig c;
    c.driveRoot = root;
    c.filePath = JoinPath(root, L"velkor.bin");
    c.testSize = 1 * kMiB;
    c.reserveFree = 0;
    return c;
  }

  // CreateTestFiles on paths in drive_, as a run that recorded drive_ as its target.
  bool Create(const std::vector<std::wstring>& paths) {
    state_.driveRoot = drive_.path();
    EXPECT_TRUE(RecordTargetFolder(state_));
    state_.createdFiles = paths;
    return CreateTestFiles(state_);
  }

  TempFolder logs_;
  TempFolder drive_;
  TestState state_;
  std::vector<std::wstring> log_;
  std::vector<std::wstring> status_;
};

std::wstring Sep() { return std::wstring(1, platform::PathSeparator()); }

TEST(FullTestPlan, SplitsAndNamesFiles) {
  const struct {
    const char* what;
    const wchar_t* root;
    bool fat32;
    uint64_t testSize;
    uint32_t blockSize;
    std::vector<uint64_t> sizes;
    std::vector<std::wstring> names;
  } cases[] = {
      {"FAT32 8 GiB", L"E:\\", true, 8192 * kMiB, 1048576, {3800 * kMiB, 3800 * kMiB, 592 * kMiB},
       {L"E:\\velkor_full_01.bin", L"E:\\velkor_full_02.bin", L"E:\\velkor_full_03.bin"}},
      {"exFAT 8 GiB", L"E:\\", false, 8192 * kMiB, 1048576, {8192 * kMiB}, {L"E:\\velkor.bin"}},
      {"FAT32 exactly 3800 MiB", L"E:\\", true, 3800 * kMiB, 1048576, {3800 * kMiB}, {L"E:\\velkor.bin"}},
      {"FAT32 3800 MiB + 1 block", L"E:\\", true, 3801 * kMiB, 1048576, {3800 * kMiB, 1 * kMiB},
       {L"E:\\velkor_full_01.bin", L"E:\\velkor_full_02.bin"}},
      {"FAT32 3 MiB blocks", L"E:\\", true, 8190 * kMiB, 3 * 1048576, {3798 * kMiB, 3798 * kMiB, 594 * kMiB},
       {L"E:\\velkor_full_01.bin", L"E:\\velkor_full_02.bin", L"E:\\velkor_full_03.bin"}},
      {"root without separator", L"E:", true, 4000 * kMiB, 1048576, {3800 * kMiB, 200 * kMiB},
       {L"E:" + Sep() + L"velkor_full_01.bin", L"E:" + Sep() + L"velkor_full_02.bin"}},
      {"Linux mount point", L"/mnt/stick", false, 64 * kMiB, 1048576, {64 * kMiB}, {L"/mnt/stick" + Sep() + L"velkor.bin"}},
      // Sizes that are no whole multiple of the block: the tail is not tested, and the names
      // count only the files that exist.
      {"2.5 blocks", L"E:\\", false, 5 * kMiB / 2, 1048576, {2 * kMiB}, {L"E:\\velkor.bin"}},
      {"FAT32 3800 MiB + half a block", L"E:\\", true, 3800 * kMiB + kMiB / 2, 1048576, {3800 * kMiB},
       {L"E:\\velkor.bin"}},
      {"FAT32 7600.5 MiB", L"E:\\", true, 7600 * kMiB + kMiB / 2, 1048576, {3800 * kMiB, 3800 * kMiB},
       {L"E:\\velkor_full_01.bin", L"E:\\velkor_full_02.bin"}},
      {"below one block", L"E:\\", false, 4096, 1048576, {}, {}},
      {"nothing to test", L"E:\\", false, 0, 1048576, {}, {}},
      {"block size 0", L"E:\\", false, 8 * kMiB, 0, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestConfig config;
    config.driveRoot = c.root;
    config.filePath = JoinPath(c.root, L"velkor.bin");
    config.isFat32 = c.fat32;
    config.testSize = c.testSize;
    config.blockSize = c.blockSize;
    config.workerCount = 3;
    const std::vector<TestVariant> plan = BuildFullTestPlan(config);
    ASSERT_EQ(plan.size(), c.sizes.size());
    for (size_t i = 0; i < plan.size(); ++i) {
      EXPECT_EQ(plan[i].byteCount, c.sizes[i]) << i;
      EXPECT_EQ(plan[i].filePath, c.names[i]) << i;
      EXPECT_EQ(plan[i].index, i);
      EXPECT_EQ(plan[i].fileOffset, 0u);
      EXPECT_EQ(plan[i].blockSize, c.blockSize);
      EXPECT_EQ(plan[i].workerCount, 3u);
      EXPECT_EQ(plan[i].accessType.name, L"Ausgeglichen (Volltest)");
      // Each file's patterns continue where the file before ended.
      EXPECT_EQ(plan[i].patternBase, i == 0 ? 0 : plan[i - 1].patternBase + plan[i - 1].byteCount / c.blockSize);
    }
  }
}

TEST(FullTestPlan, HundredthFileGetsThreeDigits) {
  TestConfig config;
  config.driveRoot = L"E:\\";
  config.isFat32 = true;
  config.testSize = 100 * 3800 * kMiB + kMiB;
  const std::vector<TestVariant> plan = BuildFullTestPlan(config);
  ASSERT_EQ(plan.size(), 101u);
  EXPECT_EQ(plan[98].filePath, L"E:\\velkor_full_99.bin");
  EXPECT_EQ(plan[99].filePath, L"E:\\velkor_full_100.bin");
  EXPECT_EQ(plan[100].filePath, L"E:\\velkor_full_101.bin");
  EXPECT_EQ(plan[100].byteCount, kMiB);
}

TEST(FullTestPlan, AccessTypeComesFromTheProfile) {
  TestConfig config;
  config.driveRoot = L"E:\\";
  config.filePath = L"E:\\velkor.bin";
  config.accessProfile = kProfileTurbo;
  std::vector<TestVariant> plan = BuildFullTestPlan(config);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].accessType.name, L"Turbo (aggressiv) (Volltest)");
  EXPECT_EQ(plan[0].accessType.ioChunkSize, 1048576u);
  EXPECT_FALSE(plan[0].accessType.writeThrough);

  config.accessProfile = kProfileReliable;
  config.verifyOnly = true;
  plan = BuildFullTestPlan(config);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].accessType.name, L"Zuverlässig (nur prüfen)");
  EXPECT_TRUE(plan[0].accessType.writeThrough);

  config.accessProfile = 7;  // out of range: Ausgeglichen
  plan = BuildFullTestPlan(config);
  EXPECT_EQ(plan[0].accessType.name, L"Ausgeglichen (nur prüfen)");
}

TEST(FreeSpaceNeed, LargerOfTestSizeAndMethodBudget) {
  const struct {
    bool verifyOnly, methodTest;
    uint64_t testSize, benchmarkBytes, need;
  } rows[] = {
      {false, false, 100, 500, 100}, {false, true, 100, 0, 100},   {false, true, 100, 500, 500},
      {false, true, 100, 50, 100},   {true, true, 100, 500, 0},    {true, false, 100, 0, 0},
  };
  for (const auto& row : rows) {
    TestConfig c;
    c.verifyOnly = row.verifyOnly;
    c.methodTest = row.methodTest;
    c.testSize = row.testSize;
    c.benchmarkBytes = row.benchmarkBytes;
    EXPECT_EQ(FreeSpaceNeed(c), row.need) << row.verifyOnly << row.methodTest << row.benchmarkBytes;
  }
}

const std::wstring kSize = LR"(\d+\.\d (B|KB|MB|GB|TB))";

TEST_F(TestFilesTest, PreflightPassesAndLogsTheFigures) {
  TestConfig c = ConfigOn(drive_.path());
  c.methodTest = true;
  c.benchmarkBytes = 2 * kMiB;
  EXPECT_TRUE(CheckFreeSpace(c));
  ASSERT_EQ(status_.size(), 1u);
  EXPECT_EQ(status_[0], L"Prüfe freien Speicher auf " + drive_.path());
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_EQ(log_[0], status_[0]);
  EXPECT_TRUE(std::regex_match(log_[1], std::wregex(L"Speicher OK: frei=" + kSize + L", gesamt=" + kSize +
                                                    L", benötigt=2\\.0 MB, Rest bleibt frei=0\\.0 B")))
      << log_[1];
}

TEST_F(TestFilesTest, PreflightFailsWhenTheReserveOrTheTestDoesNotFit) {
  const struct {
    uint64_t testSize, reserve;
    const wchar_t* need;
    const wchar_t* rest;
  } rows[] = {
      {1 * kMiB, 1ULL << 62, L"1\\.0 MB", L"4194304\\.0 TB"},  // reserve beyond the free space
      {1ULL << 62, 0, L"4194304\\.0 TB", L"0\\.0 B"},          // test beyond the free space
  };
  for (const auto& row : rows) {
    log_.clear();
    status_.clear();
    TestConfig c = ConfigOn(drive_.path());
    c.testSize = row.testSize;
    c.reserveFree = row.reserve;
    EXPECT_FALSE(CheckFreeSpace(c));
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[0], L"Prüfe freien Speicher auf " + drive_.path());
    const std::wstring root = std::regex_replace(drive_.path(), std::wregex(LR"([\\.^$|()\[\]{}*+?])"), L"\\$&");
    EXPECT_TRUE(std::regex_match(
        log_[1], std::wregex(L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der "
                             L"Restgröße\\. Laufwerk=" + root + L", benötigt=" + row.need +
                             L", gewünschter Rest=" + row.rest + L", frei=" + kSize + L", gesamt=" + kSize)))
        << log_[1];
    ASSERT_EQ(status_.size(), 2u);
    EXPECT_EQ(status_[1], L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.");
  }
}

// A kept run's files that the new run empties count as free; other entries of the same names
// and files the run does not make do not.
TEST_F(TestFilesTest, PreflightCountsAKeptRunsFilesAsFree) {
  // Sparse files: their sizes count, the disk's free space hardly moves, and gigabytes of margin
  // keep the check apart from what other programs write meanwhile.
  constexpr uint64_t kGiB = 1024 * kMiB;
  testing::WriteFileBytes(drive_.File(L"velkor.bin"), "");
  testing::WriteFileBytes(drive_.File(L"velkor_full_01.bin"), "");
  std::filesystem::resize_file(std::filesystem::path(drive_.File(L"velkor.bin")), 8 * kGiB);
  std::filesystem::resize_file(std::filesystem::path(drive_.File(L"velkor_full_01.bin")), kGiB);
  TestConfig c = ConfigOn(drive_.path());
  EXPECT_EQ(ReusableTestFileBytes(c), 8 * kGiB);  // one file: velkor.bin only
  EXPECT_EQ(LeftoverTestFileBytes(drive_.path()), 9 * kGiB);
  EXPECT_EQ(ReusableTestFileBytes({drive_.path(), drive_.File(L"fehlt.bin")}), 0u);  // a folder, a missing file

  uint64_t free = 0, total = 0;
  ASSERT_TRUE(platform::GetVolumeSpace(drive_.path(), &free, &total));
  c.testSize = RoundDownToMultiple(free + 4 * kGiB, c.blockSize);  // fits only with the kept file
  EXPECT_FALSE(CheckFreeSpace(c));
  log_.clear();
  EXPECT_TRUE(CheckFreeSpace(c, ReusableTestFileBytes(c)));
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_NE(log_[1].find(L", dazu eigene Testdateien eines früheren Laufs=8.0 GB, "), std::wstring::npos) << log_[1];
}

TEST_F(TestFilesTest, PreflightReportsAFailedQueryWithTheSystemError) {
  const std::wstring missing = drive_.File(L"gibt-es-nicht");
  TestConfig c = ConfigOn(missing);
  EXPECT_FALSE(CheckFreeSpace(c));
  ASSERT_EQ(log_.size(), 2u);
  const std::wstring expectedHead =
      L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk=" + missing +
      L", benötigt=1.0 MB, gewünschter Rest=0.0 B, frei=0.0 B, gesamt=0.0 B, ";
  EXPECT_EQ(log_[1].substr(0, expectedHead.size()), expectedHead);
  EXPECT_TRUE(std::regex_match(log_[1].substr(expectedHead.size()),
                               std::wregex(LR"((Windows-Fehler \d+|Linux-Fehler \d+ \(E[A-Z]+\)): .+)")))
      << log_[1];
  EXPECT_EQ(status_.back(), L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.");
}

TEST_F(TestFilesTest, VerifyOnlySkipsTheCheckButLogsTheFigures) {
  TestConfig c = ConfigOn(drive_.path());
  c.verifyOnly = true;
  c.reserveFree = 1ULL << 62;
  EXPECT_TRUE(CheckFreeSpace(c));
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_TRUE(std::regex_match(log_[1], std::wregex(L"Speicher OK: frei=" + kSize + L", gesamt=" + kSize +
                                                    L", benötigt=0\\.0 B, Rest bleibt frei=4194304\\.0 TB")))
      << log_[1];
  EXPECT_EQ(status_.size(), 1u);
}

TEST(CreatedFilesList, MethodFilesFirstEachPathOnce) {
  TestConfig c;
  c.driveRoot = L"E:\\";
  c.filePath = L"E:\\velkor.bin";
  c.testPoints = 3;
  c.randomTestPoints = false;
  const std::vector<TestVariant> full = BuildFullTestPlan(c);
  EXPECT_EQ(CreatedFilesList(BuildMethodTestPlan(c, 8), full),
            (std::vector<std::wstring>{L"E:\\velkor_p01.bin", L"E:\\velkor_p02.bin", L"E:\\velkor_p03.bin",
                                       L"E:\\velkor.bin"}));
  // One test point: the method test writes into the full test's file, listed once.
  c.testPoints = 1;
  EXPECT_EQ(CreatedFilesList(BuildMethodTestPlan(c, 8), full), (std::vector<std::wstring>{L"E:\\velkor.bin"}));
  // No method test (and a FAT32 split).
  c.isFat32 = true;
  c.testSize = 4000 * kMiB;
  EXPECT_EQ(CreatedFilesList({}, BuildFullTestPlan(c)),
            (std::vector<std::wstring>{L"E:\\velkor_full_01.bin", L"E:\\velkor_full_02.bin"}));
}

TEST_F(TestFilesTest, CreatesEmptyFilesAndTruncatesOldOnes) {
  const std::wstring a = drive_.File(L"velkor_p01.bin");
  const std::wstring b = drive_.File(L"velkor.bin");
  WriteFileBytes(b, PatternBytes(0, 3));  // an earlier run's file
  EXPECT_TRUE(Create({a, b}));
  EXPECT_EQ(ReadFileBytes(a), "");
  EXPECT_EQ(ReadFileBytes(b), "");
  EXPECT_EQ(log_, (std::vector<std::wstring>{
                      L"Erstelle Testdatei: " + a, L"Testdatei geöffnet/erstellt: " + a,
                      L"Erstelle Testdatei: " + b, L"Testdatei geöffnet/erstellt: " + b,
                      L"Testdateien angelegt. Sie werden beim Schreiben blockweise vergrößert, keine "
                      L"Vorab-Reservierung."}));
  EXPECT_EQ(status_, (std::vector<std::wstring>{L"Erstelle Testdatei: " + a, L"Erstelle Testdatei: " + b}));
}

TEST_F(TestFilesTest, CreationStopsAtAMissingFolder) {
  const std::wstring a = drive_.File(L"velkor_full_01.bin");
  const std::wstring b = JoinPath(drive_.File(L"fehlt"), L"velkor_full_02.bin");
  const std::wstring c = drive_.File(L"velkor_full_03.bin");
  EXPECT_FALSE(Create({a, b, c}));
  EXPECT_TRUE(platform::FileExists(a));  // files created before the failure stay
  EXPECT_FALSE(platform::FileExists(c));
  EXPECT_EQ(log_, (std::vector<std::wstring>{
                      L"Erstelle Testdatei: " + a, L"Testdatei geöffnet/erstellt: " + a,
                      L"Erstelle Testdatei: " + b,
                      L"FEHLER: Testdatei konnte nicht erstellt werden. Datei=" + b + L", " +
                          FormatWindowsError(platform::kErrorPathNotFound)}));
  ASSERT_FALSE(status_.empty());
  EXPECT_EQ(status_.back(), L"Fehler: Testdatei konnte nicht erstellt werden.");
}

TEST_F(TestFilesTest, VerifyOnlyNeedsEveryFileLargeEnough) {
  auto entry = [](const std::wstring& path, uint64_t bytes) {
    TestVariant v;
    v.filePath = path;
    v.byteCount = bytes;
    return v;
  };
  const std::wstring one = drive_.File(L"velkor_full_01.bin");
  const std::wstring two = drive_.File(L"velkor_full_02.bin");
  const std::vector<TestVariant> plan = {entry(one, 2048), entry(two, 2048)};

  EXPECT_FALSE(CheckVerifyOnlyFiles(plan, state_));
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: " + one});
  EXPECT_EQ(status_, std::vector<std::wstring>{L"Fehler: Testdatei zum Prüfen fehlt."});

  log_.clear();
  status_.clear();
  WriteFileBytes(one, std::string(4096, 'x'));  // larger than needed is fine
  WriteFileBytes(two, std::string(1024, 'x'));
  EXPECT_FALSE(CheckVerifyOnlyFiles(plan, state_));
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei ist zu klein: " +
                                            two + L", vorhanden=1.0 KB, benötigt=2.0 KB"});
  EXPECT_EQ(status_, std::vector<std::wstring>{L"Fehler: Testdatei zum Prüfen ist zu klein."});

  log_.clear();
  status_.clear();
  WriteFileBytes(two, std::string(2048, 'x'));
  EXPECT_TRUE(CheckVerifyOnlyFiles(plan, state_));
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(status_.empty());
}

TEST_F(TestFilesTest, RemovesOnlyTheRunsOwnMethodFiles) {
  TestConfig c = ConfigOn(drive_.path());
  c.testSize = 3 * kMiB;
  c.workerCount = 1;
  c.testPoints = 3;
  c.randomTestPoints = false;
  const std::vector<TestVariant> method = BuildMethodTestPlan(c, 8);
  ASSERT_EQ(method.size(), 3u);
  const std::vector<TestVariant> full = BuildFullTestPlan(c);
  ASSERT_TRUE(Create(CreatedFilesList(method, full)));
  std::vector<std::wstring>& created = state_.createdFiles;

  // The user's files beside ours, named close to them.
  const std::vector<std::wstring> userFiles = {
      drive_.File(L"velkor_p01.txt"), drive_.File(L"velkor.bin.bak"), drive_.File(L"velkor_p04.bin"),
      drive_.File(L"velkor_p1.bin"), drive_.File(L"xvelkor_p02.bin")};
  for (const std::wstring& path : userFiles) WriteFileBytes(path, "user data");

  log_.clear();
  RemoveMethodTestFiles(method, full, created, state_.createdIdentities);
  EXPECT_EQ(created, std::vector<std::wstring>{c.filePath});
  for (const wchar_t* name : {L"velkor_p01.bin", L"velkor_p02.bin", L"velkor_p03.bin"}) {
    EXPECT_FALSE(platform::FileExists(drive_.File(name)));
  }
  EXPECT_TRUE(platform::FileExists(c.filePath));
  for (const std::wstring& path : userFiles) EXPECT_EQ(ReadFileBytes(path), "user data");
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_EQ(log_[1], L"Methodentest-Datei vor Volltest entfernt, damit der Kompletttest den freien Speicher "
                     L"nutzen kann: " + drive_.File(L"velkor_p02.bin"));
}

TEST_F(TestFilesTest, NeverDeletesAFileTheRunDidNotCreate) {
  TestConfig c = ConfigOn(drive_.path());
  c.testSize = 3 * kMiB;
  c.workerCount = 1;
  c.testPoints = 3;
  c.randomTestPoints = false;
  const std::vector<TestVariant> method = BuildMethodTestPlan(c, 8);
  const std::vector<TestVariant> full = BuildFullTestPlan(c);
  // A velkor_p02.bin that this run never listed (left by someone else) survives, and so does one
  // it listed but did not make.
  const std::wstring foreign = drive_.File(L"velkor_p02.bin");
  WriteFileBytes(foreign, "not ours");
  ASSERT_TRUE(Create({drive_.File(L"velkor_p01.bin"), c.filePath}));
  std::vector<std::wstring> created = state_.createdFiles;
  RemoveMethodTestFiles(method, full, created, state_.createdIdentities);
  EXPECT_EQ(ReadFileBytes(foreign), "not ours");
  EXPECT_FALSE(platform::FileExists(drive_.File(L"velkor_p01.bin")));
  EXPECT_EQ(created, std::vector<std::wstring>{c.filePath});

  created = {foreign, c.filePath};
  RemoveMethodTestFiles(method, full, created, state_.createdIdentities);
  EXPECT_EQ(ReadFileBytes(foreign), "not ours");
}

TEST_F(TestFilesTest, AMethodFileSharedWithTheFullTestStays) {
  TestConfig c = ConfigOn(drive_.path());
  c.testPoints = 1;
  const std::vector<TestVariant> method = BuildMethodTestPlan(c, 8);
  const std::vector<TestVariant> full = BuildFullTestPlan(c);
  ASSERT_TRUE(Create(CreatedFilesList(method, full)));
  log_.clear();
  RemoveMethodTestFiles(method, full, state_.createdFiles, state_.createdIdentities);
  EXPECT_TRUE(platform::FileExists(c.filePath));
  EXPECT_EQ(state_.createdFiles, std::vector<std::wstring>{c.filePath});
  EXPECT_TRUE(log_.empty());
}

TEST_F(TestFilesTest, GoneOrReplacedMethodFilesStillLeaveTheList) {
  TestConfig c = ConfigOn(drive_.path());
  c.testSize = 3 * kMiB;
  c.workerCount = 1;
  c.testPoints = 3;
  c.randomTestPoints = false;
  const std::vector<TestVariant> method = BuildMethodTestPlan(c, 8);
  const std::vector<TestVariant> full = BuildFullTestPlan(c);
  ASSERT_TRUE(Create(CreatedFilesList(method, full)));
  // p01 is already gone (silent), p02 was replaced by a folder (a hint, the folder stays), p03 is
  // still ours.
  ASSERT_TRUE(platform::DeleteFileAtPath(drive_.File(L"velkor_p01.bin")));
  ASSERT_TRUE(platform::DeleteFileAtPath(drive_.File(L"velkor_p02.bin")));
  ASSERT_TRUE(platform::CreateFolder(drive_.File(L"velkor_p02.bin")));
  log_.clear();
  RemoveMethodTestFiles(method, full, state_.createdFiles, state_.createdIdentities);
  EXPECT_EQ(state_.createdFiles, std::vector<std::wstring>{c.filePath});
  EXPECT_EQ(log_, (std::vector<std::wstring>{
                      L"Hinweis: Methodentest-Datei nicht entfernt, dort liegt nicht mehr die Datei dieses Laufs: " +
                          drive_.File(L"velkor_p02.bin") + L" ist ein Ordner.",
                      L"Methodentest-Datei vor Volltest entfernt, damit der Kompletttest den freien Speicher "
                      L"nutzen kann: " + drive_.File(L"velkor_p03.bin")}));
  platform::EntryInfo folder;
  ASSERT_TRUE(platform::InspectEntry(drive_.File(L"velkor_p02.bin"), &folder));
  EXPECT_EQ(folder.kind, platform::EntryKind::kFolder);
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

TEST(SystemVolumeReserve, TheLargestOfReserveTwoGibAndFivePercent) {
  const uint64_t kGiB = 1073741824;
  const struct {
    uint64_t reserve, total, floor;
  } rows[] = {
      {0, 0, 2 * kGiB},                       // a volume that did not answer
      {0, 32 * kGiB, 2 * kGiB},               // 5 % is 1.6 GiB
      {0, 100 * kGiB, 5 * kGiB},              // 5 % is more
      {10 * kGiB, 100 * kGiB, 10 * kGiB},     // the reserve entered is more
      {UINT64_MAX, 100 * kGiB, UINT64_MAX},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SystemVolumeReserve(row.reserve, row.total), row.floor) << row.reserve << " " << row.total;
  }
}

TEST_F(TestFilesTest, OnTheSystemVolumeThePreflightKeepsTheFloorFree) {
  uint64_t free = 0, total = 0;
  ASSERT_TRUE(platform::GetVolumeSpace(drive_.path(), &free, &total));
  const uint64_t floor = SystemVolumeReserve(0, total);
  TestConfig c = ConfigOn(drive_.path());
  c.systemVolume = true;
  const std::wstring hint = L"Hinweis: Das Ziel ist das Systemlaufwerk. Dort bleiben immer mindestens " +
                            FormatByteSize(floor) + L" frei (mindestens 2.0 GB und 5 % des Laufwerks, gewünschter Rest 0.0 B).";
  if (free > floor + 64 * kMiB) {
    EXPECT_TRUE(CheckFreeSpace(c));
    ASSERT_EQ(log_.size(), 3u);
    EXPECT_EQ(log_[1], hint);
    EXPECT_NE(log_[2].find(L", Rest bleibt frei=" + FormatByteSize(floor)), std::wstring::npos) << log_[2];
  }
  // A test that would eat into the floor (with room for what others write meanwhile) is refused,
  // also when no reserve was entered.
  log_.clear();
  c.testSize = free > floor ? free - floor + 1024 * kMiB : 1024 * kMiB;
  EXPECT_FALSE(CheckFreeSpace(c));
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_EQ(log_[1], hint);
  EXPECT_NE(log_[2].find(L", gewünschter Rest=" + FormatByteSize(floor) + L", frei="), std::wstring::npos) << log_[2];
  EXPECT_EQ(status_.back(), L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.");
  // Reading writes nothing: no floor.
  log_.clear();
  c.verifyOnly = true;
  EXPECT_TRUE(CheckFreeSpace(c));
  EXPECT_EQ(log_.size(), 2u);
}

TEST_F(TestFilesTest, ATestFileNameTakenByAFolderStopsTheRunBeforeAnythingIsMade) {
  const std::wstring first = drive_.File(L"velkor_p01.bin");
  const std::wstring taken = drive_.File(L"velkor_p02.bin");
  ASSERT_TRUE(platform::CreateFolder(taken));
  WriteFileBytes(JoinPath(taken, L"brief.txt"), "user data");
  EXPECT_FALSE(Create({first, taken, drive_.File(L"velkor.bin")}));
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Name einer Testdatei ist belegt: " + taken +
                                            L" ist ein Ordner, keine Testdatei dieses Programms. Sie bleibt "
                                            L"unverändert, der Test schreibt nichts."});
  EXPECT_EQ(status_, std::vector<std::wstring>{
                         L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei)."});
  EXPECT_FALSE(platform::FileExists(first));
  EXPECT_EQ(ReadFileBytes(JoinPath(taken, L"brief.txt")), "user data");
  EXPECT_TRUE(state_.createdIdentities.empty());
}

// A file under a test file's name is written over only when its first block holds the test
// pattern: any block's (a medium that wraps puts a later one first), or nothing at all.
TEST_F(TestFilesTest, OnlyAFileThatBeginsWithTheTestPatternIsWrittenOver) {
  std::string damaged = PatternBytes(0, 2);
  damaged[4000] ^= 1;
  const std::string user = "Einkaufsliste: Milch, Brot\n" + std::string(10000, 'x');
  const struct {
    const char* what;
    std::string bytes;
    bool ours;
  } cases[] = {
      {"an earlier run's first block", PatternBytes(0, 2), true},
      {"a later block first, as a wrapping medium returns it", PatternBytes(123456, 1, 65536), true},
      {"a single block cut short", PatternBytes(7, 1).substr(0, 100), true},
      {"empty: a run that ended before its first block", "", true},
      {"a user's text", user, false},
      {"zeros", std::string(8192, '\0'), false},
      {"our pattern, damaged within the first block", damaged, false},
      {"our pattern of another seed", [] {
         std::string b(4096, '\0');
         FillPattern(b.data(), b.size(), kTestPatternSeed ^ 1, 0);
         return b;
       }(), false},
      {"too short to tell", PatternBytes(0, 1).substr(0, 15), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StartsWithTestPattern(c.bytes.data(), c.bytes.size(), kTestPatternSeed), c.ours);
  }

  // As a run meets them: nothing is made or emptied, and the line names the file and why.
  const std::wstring first = drive_.File(L"velkor_p01.bin");
  const std::wstring theirs = drive_.File(L"velkor_p02.bin");
  const std::wstring ours = drive_.File(L"velkor.bin");
  WriteFileBytes(theirs, user);
  WriteFileBytes(ours, PatternBytes(0, 4));
  EXPECT_FALSE(Create({first, theirs, ours}));
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Name einer Testdatei ist belegt: " + theirs +
                                            L" ist eine Datei, deren erster Block nicht das Testmuster dieses "
                                            L"Programms enthält, keine Testdatei dieses Programms. Sie bleibt "
                                            L"unverändert, der Test schreibt nichts."});
  EXPECT_EQ(status_, std::vector<std::wstring>{
                         L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei)."});
  EXPECT_FALSE(platform::FileExists(first));
  EXPECT_EQ(ReadFileBytes(theirs), user);
  EXPECT_EQ(ReadFileBytes(ours), PatternBytes(0, 4));
  EXPECT_TRUE(state_.createdIdentities.empty());
  // The user's file gone, the run goes ahead and empties its own.
  ASSERT_TRUE(platform::DeleteFileAtPath(theirs));
  log_.clear();
  EXPECT_TRUE(Create({first, theirs, ours}));
  EXPECT_EQ(ReadFileBytes(ours), "");
}

TEST_F(TestFilesTest, DeletionTakesOnlyWhatIsStillThisRunsFile) {
  const std::wstring kept = drive_.File(L"velkor_p01.bin");
  const std::wstring replaced = drive_.File(L"velkor_p02.bin");
  const std::wstring gone = drive_.File(L"velkor_p03.bin");
  const std::wstring ours = drive_.File(L"velkor.bin");
  ASSERT_TRUE(Create({kept, replaced, gone, ours}));
  // The user put a file of the same name in place of one, and removed another.
  WriteFileBytes(drive_.File(L"eigene.bin"), "user data");
  ASSERT_TRUE(platform::MoveFileReplacing(drive_.File(L"eigene.bin"), replaced));
  ASSERT_TRUE(platform::DeleteFileAtPath(gone));
  state_.createdFiles = {replaced, gone, ours};
  state_.filePath = ours;
  log_.clear();
  DeleteRunTestFiles(state_);
  EXPECT_EQ(ReadFileBytes(replaced), "user data");
  EXPECT_FALSE(platform::FileExists(ours));
  EXPECT_TRUE(platform::FileExists(kept));  // not listed any more: not touched
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_EQ(log_[0], L"FEHLER: Testdatei nicht gelöscht: " + replaced +
                         L" ist nicht mehr die Datei dieses Laufs, sondern eine andere Datei. Sie bleibt unverändert.");
  EXPECT_EQ(log_[1], L"FEHLER: Testdatei konnte nicht gelöscht werden. Datei=" + gone + L", " +
                         FormatWindowsError(platform::kErrorFileNotFound));
  EXPECT_EQ(log_[2], L"Testdatei gelöscht: " + ours);

  // A path the run never made is not deleted either, also as the lone fallback path.
  log_.clear();
  state_.createdFiles.clear();
  state_.filePath = kept;
  state_.createdIdentities.erase(kept);
  DeleteRunTestFiles(state_);
  EXPECT_TRUE(platform::FileExists(kept));
  EXPECT_EQ(log_, std::vector<std::wstring>{L"FEHLER: Testdatei nicht gelöscht: " + kept +
                                            L" ist nicht mehr die Datei dieses Laufs, sondern eine Datei, die dieser "
                                            L"Lauf nicht angelegt hat. Sie bleibt unverändert."});
}

}  // namespace
}  // namespace velkor
