#include "engine/run_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "common/diag_log.h"
#include "common/handover.h"
#include "engine/method_plan.h"
#include "engine/pattern.h"
#include "engine/progress_text.h"
#include "engine/run_outcome.h"
#include "platform/files.h"
#include "results/result_report.h"
#include "platform/text.h"
#include "results/results_database.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

constexpr uint64_t kMiB = 1048576;

// Runs RunTest on a temp folder as the drive and collects what reaches the front-end.
class TestRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogFilePath(folder_.File(L"velkor.log"));
    platform::CreateFolder(drive_);
    platform::CreateFolder(results_);
    SetResultsFolder(results_);
    SetUiReceiver({{},
                   [this](std::wstring text) {
                     std::lock_guard<std::mutex> lock(mutex_);
                     statuses_.push_back(text);
                     if (onStatus_) onStatus_(text);
                   },
                   [this](std::unique_ptr<RunOutcome> outcome) {
                     std::lock_guard<std::mutex> lock(mutex_);
                     outcomes_.push_back(std::move(*outcome));
                   }});
  }
  void TearDown() override {
    SetUiReceiver({});
    SetResultsFolder(L"");
  }

  TestConfig Config(uint64_t size, uint32_t block, uint32_t profile = kProfileQuorvel) {
    TestConfig c;
    c.driveRoot = drive_;
    c.filePath = JoinPathForTest(drive_, L"velkor.bin");
    c.fileSystem = L"ext4";
    c.testSize = size;
    c.blockSize = block;
    c.workerCount = 2;
    c.reserveFree = 0;
    c.accessProfile = profile;
    ApplyProfileToConfig(profile, c);
    return c;
  }

  static std::wstring JoinPathForTest(const std::wstring& folder, const std::wstring& name) {
    return folder + platform::PathSeparator() + name;
  }

  std::shared_ptr<TestState> Run(const TestConfig& config) {
    auto state = std::make_shared<TestState>();
    state->running = true;
    RunTest(config, state);
    EXPECT_FALSE(state->running);
    EXPECT_EQ(state->phase, kPhaseFinished);
    return state;
  }

  std::string Log() { return ReadFileBytes(folder_.File(L"velkor.log")); }
  bool LogHas(const std::string& text) { return Log().find(text) != std::string::npos; }

  std::vector<std::wstring> ResultFiles() { return ListSavedResultFiles(results_); }

  TempFolder folder_;
  std::wstring drive_ = folder_.File(L"drive");
  std::wstring results_ = folder_.File(L"results");
  std::mutex mutex_;
  std::vector<std::wstring> statuses_;
  std::vector<RunOutcome> outcomes_;
  std::function<void(const std::wstring&)> onStatus_;
};

// Every block of the file holds its pattern.
void ExpectPatternFile(const std::wstring& path, uint64_t size, uint32_t block) {
  const std::string bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), size);
  for (uint64_t i = 0; i * block < size; ++i) {
    ASSERT_TRUE(MatchesPattern(bytes.data() + i * block, block, kTestPatternSeed, i)) << "block " << i;
  }
}

TEST_F(TestRunTest, AFullTestThatPasses) {
  const TestConfig config = Config(8 * kMiB, 256 * 1024);
  const auto state = Run(config);

  ASSERT_EQ(outcomes_.size(), 1u);
  const RunOutcome& outcome = outcomes_[0];
  ASSERT_EQ(outcome.results.size(), 1u);
  const ResultRecord& r = outcome.results[0];
  EXPECT_EQ(r.method, L"Quorvel-Modus (Volltest)");
  EXPECT_EQ(r.bytes, 8 * kMiB);
  EXPECT_EQ(r.errors, 0u);
  EXPECT_TRUE(r.verified);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(outcome.driveRoot, drive_);
  EXPECT_EQ(state->createdFiles, std::vector<std::wstring>{config.filePath});
  ExpectPatternFile(config.filePath, 8 * kMiB, 256 * 1024);

  for (const char* line : {"] Start gedr\xC3\xBC" "ckt: Vorpr\xC3\xBC" "fung f\xC3\xBCr Laufwerk ",
                           "] Konfiguration: Datei=", "Testgr\xC3\xB6\xC3\x9F" "e=8388608 Bytes, Blockgr\xC3\xB6\xC3\x9F" "e=262144 Bytes",
                           "] JSON-Datenbankdatei: ", "] Speicher OK: frei=", "] Erstelle Testdatei: ",
                           "] Start: Volltest auf Laufwerk ", " (ext4), 8 MB\r\n", "] Erzeugte Testdateien: 1\r\n",
                           "] Volltest 1/1: ", "] Variante beendet: Art des Zugriffs=Quorvel-Modus (Volltest), Worker=2, "
                           "I/O-Teilst\xC3\xBC" "ck=8388608, geschrieben=32, gepr\xC3\xBC" "ft=32, Fehler=0, abgebrochen=nein",
                           "] Test abgeschlossen.\r\n"}) {
    EXPECT_TRUE(LogHas(line)) << line;
  }
  // The results file: final, with the one record.
  const auto files = ResultFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], outcome.databasePath);
  std::vector<ResultRecord> loaded;
  ASSERT_TRUE(LoadResultsFile(files[0], &loaded));
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].method, r.method);
  EXPECT_NE(ReadFileBytes(files[0]).find("\"final\": true"), std::string::npos);
  EXPECT_FALSE(state->deletePending);
}

TEST_F(TestRunTest, MethodTestHandsTheFastestVariantToTheFullTest) {
  TestConfig config = Config(16 * kMiB, 1 * kMiB, kProfileBalanced);
  config.methodTest = true;
  config.testPoints = 2;
  config.benchmarkBytes = 8 * kMiB;
  config.deleteAtEnd = true;
  const size_t variants = BuildMethodTestPlan(config).size();
  ASSERT_GE(variants, 2u);
  const auto state = Run(config);

  ASSERT_EQ(outcomes_.size(), 1u);
  const auto& results = outcomes_[0].results;
  ASSERT_EQ(results.size(), variants + 1);
  const ResultRecord& full = results.back();
  // The full test runs with the recorded fastest variant's settings.
  const std::string log = Log();
  const size_t at = log.find("] Schnellste Variante wird f\xC3\xBCr den Volltest benutzt: ");
  ASSERT_NE(at, std::string::npos) << log;
  int fastest = -1;
  double best = -1;
  for (size_t i = 0; i < variants; ++i) {
    const double score = results[i].mbPerSecond + (results[i].verified ? 0.001 : 0);
    if (results[i].errors == 0 && results[i].mbPerSecond > 0 && score > best) {
      best = score;
      fastest = static_cast<int>(i);
    }
  }
  ASSERT_GE(fastest, 0);
  EXPECT_EQ(full.method, results[fastest].method + L" (Volltest)");
  EXPECT_EQ(full.workers, results[fastest].workers);
  EXPECT_EQ(full.blockSize, results[fastest].blockSize);
  EXPECT_EQ(full.errors, 0u);
  EXPECT_EQ(std::count_if(results.begin(), results.end(), [](const ResultRecord& r) { return r.recommended; }), 1);
  EXPECT_TRUE(LogHas("] Methodentest: " + std::to_string(variants) + " Varianten"));
  EXPECT_TRUE(LogHas("] Testliste:\r\n"));
  // The method-test files made room for the full test; only the full-test file stays listed.
  EXPECT_FALSE(platform::FileExists(JoinPathForTest(drive_, L"velkor_p01.bin")));
  EXPECT_FALSE(platform::FileExists(JoinPathForTest(drive_, L"velkor_p02.bin")));
  EXPECT_TRUE(LogHas("] Methodentest-Datei vor Volltest entfernt"));
  EXPECT_EQ(state->createdFiles, std::vector<std::wstring>{config.filePath});
  EXPECT_TRUE(state->deletePending);
}

TEST_F(TestRunTest, VerifyOnlyOverTheFilesOfAnEarlierRunAndItsMismatches) {
  TestConfig config = Config(4 * kMiB, 64 * 1024);
  Run(config);
  ASSERT_EQ(outcomes_.size(), 1u);

  // Damage two blocks in the middle, then verify without writing.
  {
    platform::FileHandle file = platform::OpenFileForWrite(config.filePath, false);
    ASSERT_TRUE(file.valid());
    uint32_t done = 0;
    const std::string junk(100, 'X');
    ASSERT_TRUE(platform::WriteFileAt(file, 10 * 65536 + 5, junk.data(), 100, &done));
    ASSERT_TRUE(platform::WriteFileAt(file, 33 * 65536, junk.data(), 100, &done));
    platform::CloseFile(file);
  }
  TestConfig verify = config;
  verify.verifyOnly = true;
  verify.deleteAtEnd = true;
  const auto state = Run(verify);

  ASSERT_EQ(outcomes_.size(), 2u);
  ASSERT_EQ(outcomes_[1].results.size(), 1u);
  const ResultRecord& r = outcomes_[1].results[0];
  EXPECT_EQ(r.method, L"Quorvel-Modus (nur prüfen)");
  EXPECT_EQ(r.errors, 2u);
  EXPECT_TRUE(r.verified);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(r.mbPerSecond, 0.0);
  EXPECT_TRUE(LogHas("] FEHLER: Datenabweichung bei Block 10, Offset=655360\r\n"));
  EXPECT_TRUE(LogHas("] FEHLER: Datenabweichung bei Block 33, Offset=2162688\r\n"));
  EXPECT_TRUE(LogHas("] Nur pr\xC3\xBC" "fen: Vorpr\xC3\xBC" "fung f\xC3\xBCr Laufwerk "));
  EXPECT_TRUE(LogHas("] Start: Nur pr\xC3\xBC" "fen auf Laufwerk "));
  EXPECT_TRUE(LogHas("] Nur-Pr\xC3\xBC" "fen beendet: Art des Zugriffs=Quorvel-Modus (nur pr\xC3\xBC" "fen), Worker=2, "
                     "gepr\xC3\xBC" "ft=64, Fehler=2"));
  EXPECT_TRUE(LogHas("] Test abgeschlossen.\r\n"));  // mismatches below the limit end nothing
  EXPECT_FALSE(state->deletePending) << "a verify-only run never offers deletion";
  EXPECT_EQ(ReadFileBytes(config.filePath).size(), 4 * kMiB) << "verify-only writes nothing";
}

TEST_F(TestRunTest, StopDuringTheSecondVariant) {
  TestConfig config = Config(32 * kMiB, 64 * 1024, kProfileBalanced);
  config.methodTest = true;
  config.testPoints = 2;  // method-test files of their own, so the full-test file stays apart
  config.benchmarkBytes = 24 * kMiB;
  const size_t variants = BuildMethodTestPlan(config).size();
  ASSERT_GE(variants, 3u);
  std::shared_ptr<TestState> state = std::make_shared<TestState>();
  onStatus_ = [&](const std::wstring& text) {
    if (text.rfind(L"Variante 2/", 0) == 0) state->stopRequested = true;
  };
  state->running = true;
  RunTest(config, state);

  ASSERT_EQ(outcomes_.size(), 1u);
  const auto& results = outcomes_[0].results;
  ASSERT_EQ(results.size(), 2u);
  EXPECT_FALSE(results[0].cancelled);
  EXPECT_TRUE(results[1].cancelled);
  EXPECT_EQ(results[1].mbPerSecond, 0.0);
  EXPECT_TRUE(LogHas("] Testliste:\r\n"));
  EXPECT_TRUE(LogHas("] Test abgebrochen.\r\n"));
  EXPECT_FALSE(LogHas("] Volltest 1/"));
  uint64_t size = 1;
  ASSERT_TRUE(platform::GetFileSizeByPath(config.filePath, &size));
  EXPECT_EQ(size, 0u) << "the full-test file was created but never written";
  std::vector<ResultRecord> loaded;
  ASSERT_TRUE(LoadResultsFile(outcomes_[0].databasePath, &loaded));
  EXPECT_EQ(loaded.size(), 2u);
}

// Mismatches that reach the error limit end the run as a failing medium, not as a user's stop.
TEST_F(TestRunTest, AStopByTheErrorLimitIsAVerdictNotAUsersStop) {
  const TestConfig config = Config(4 * kMiB, 64 * 1024);
  Run(config);
  ASSERT_EQ(outcomes_.size(), 1u);
  {
    platform::FileHandle file = platform::OpenFileForWrite(config.filePath, false);
    ASSERT_TRUE(file.valid());
    uint32_t done = 0;
    const std::string junk(100, 'X');
    for (uint64_t block : {3, 10, 20}) ASSERT_TRUE(platform::WriteFileAt(file, block * 65536, junk.data(), 100, &done));
    platform::CloseFile(file);
  }
  TestConfig verify = config;
  verify.verifyOnly = true;
  verify.workerCount = 1;
  verify.errorLimit = 2;
  const auto state = Run(verify);

  ASSERT_EQ(outcomes_.size(), 2u);
  ASSERT_EQ(outcomes_[1].results.size(), 1u);
  const ResultRecord& r = outcomes_[1].results[0];
  EXPECT_EQ(r.stopReason, StopReason::kErrorLimit);
  EXPECT_FALSE(r.cancelled);
  EXPECT_FALSE(r.verified);
  EXPECT_EQ(r.verifiedBytes, 10 * 65536u) << "blocks 0 to 9 compared; block 10 hit the limit";
  EXPECT_EQ(ResultText(r), L"Fehler");
  EXPECT_EQ(CurrentStopReason(*state), StopReason::kErrorLimit);
  EXPECT_TRUE(LogHas("] Abbruch: Fehlergrenze erreicht.\r\n"));
  EXPECT_TRUE(LogHas("] Test wegen Fehlern des Mediums beendet.\r\n"));
  EXPECT_FALSE(LogHas("] Test abgebrochen."));
  const std::wstring report = BuildResultReport(outcomes_[1].results, CurrentStopReason(*state)).body;
  EXPECT_NE(report.find(L"\r\n\r\nFEHLER GEFUNDEN\r\n"), std::wstring::npos);
  EXPECT_EQ(report.find(L"ABGEBROCHEN"), std::wstring::npos);
  EXPECT_EQ(BuildProgressView(TakeProgressSnapshot(*state)).statusText.rfind(L"Fehler: Test wegen Fehlern", 0), 0u);
}

// A stopped run's record and results file tell what was done, not what was planned.
TEST_F(TestRunTest, AUserStopClaimsNoCheck) {
  const TestConfig config = Config(8 * kMiB, 256 * 1024);
  std::shared_ptr<TestState> state = std::make_shared<TestState>();
  onStatus_ = [&](const std::wstring& text) {
    if (text.rfind(L"Volltest 1/1", 0) == 0) RequestStop(*state, StopReason::kUser);
  };
  state->running = true;
  RunTest(config, state);

  ASSERT_EQ(outcomes_.size(), 1u);
  ASSERT_EQ(outcomes_[0].results.size(), 1u);
  const ResultRecord& r = outcomes_[0].results[0];
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.stopReason, StopReason::kUser);
  EXPECT_FALSE(r.verified);
  EXPECT_EQ(r.writtenBytes, 0u);
  EXPECT_EQ(r.verifiedBytes, 0u);
  EXPECT_EQ(ResultText(r), L"abgebrochen");
  const std::string file = ReadFileBytes(outcomes_[0].databasePath);
  EXPECT_NE(file.find("Zusammenfassung: geschrieben 0.0 B, zur\xC3\xBC" "ck gelesen/gepr\xC3\xBC" "ft 0.0 B, Fehler 0, "
                      "Pr\xC3\xBC" "fung unvollst\xC3\xA4" "ndig\""), std::string::npos) << file;
  EXPECT_NE(file.find("\"verified\":false"), std::string::npos);
  EXPECT_TRUE(LogHas("] Test abgebrochen.\r\n"));
}

// Files written with another block size (a method test's fastest variant, a changed field) and
// another size verify clean: the run takes both from the files and says so.
TEST_F(TestRunTest, VerifyOnlyTakesTheBlockSizeAndSizeOfTheFiles) {
  Run(Config(4 * kMiB, 256 * 1024));
  ASSERT_EQ(outcomes_.size(), 1u);
  TestConfig verify = Config(2 * kMiB, 64 * 1024);
  verify.verifyOnly = true;
  Run(verify);

  ASSERT_EQ(outcomes_.size(), 2u);
  ASSERT_EQ(outcomes_[1].results.size(), 1u);
  const ResultRecord& r = outcomes_[1].results[0];
  EXPECT_EQ(r.errors, 0u);
  EXPECT_TRUE(r.verified);
  EXPECT_EQ(r.blockSize, 256 * 1024u);
  EXPECT_EQ(r.bytes, 4 * kMiB);
  EXPECT_TRUE(LogHas("] Hinweis: Die Testdateien wurden mit einer Blockgr\xC3\xB6\xC3\x9F" "e von 256 KB geschrieben, "
                     "eingestellt sind 64 KB. Gepr\xC3\xBC" "ft wird mit 256 KB."));
  EXPECT_TRUE(LogHas("] Hinweis: Die Testdateien enthalten 4.0 MB, eingestellt sind 2.0 MB."));
}

TEST_F(TestRunTest, PreflightFailuresEndWithoutOutcome) {
  struct Case {
    const char* name;
    std::function<void(TestConfig&)> prepare;
    const char* logLine;
    const wchar_t* status;
  };
  const Case cases[] = {
      {"reserve larger than the free space", [](TestConfig& c) { c.reserveFree = UINT64_MAX / 2; },
       "] FEHLER: Nicht genug freier Speicher unter Ber\xC3\xBC" "cksichtigung der Restgr\xC3\xB6\xC3\x9F" "e. Laufwerk=",
       L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher."},
      {"test file name taken by a folder",
       [](TestConfig& c) { platform::CreateFolder(c.filePath); },
       "] FEHLER: Name einer Testdatei ist belegt: ", L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei)."},
      {"test file cannot be created",
       [](TestConfig& c) { c.filePath = JoinPathForTest(JoinPathForTest(c.driveRoot, L"fehlt"), L"velkor.bin"); },
       "] FEHLER: Testdatei konnte nicht erstellt werden. Datei=", L"Fehler: Testdatei konnte nicht erstellt werden."},
      {"verify-only file missing", [](TestConfig& c) { c.verifyOnly = true; },
       "] FEHLER: Pr\xC3\xBC" "fen ohne Schreiben nicht m\xC3\xB6glich, Datei fehlt: ", L"Fehler: Testdatei zum Prüfen fehlt."},
      {"verify-only file too small",
       [](TestConfig& c) {
         c.verifyOnly = true;
         testing::WriteFileBytes(c.filePath, std::string(1000, 'x'));
       },
       "] FEHLER: Pr\xC3\xBC" "fen ohne Schreiben nicht m\xC3\xB6glich, Datei ist zu klein: ",
       L"Fehler: Testdatei zum Prüfen ist zu klein."},
      {"block larger than the test", [](TestConfig& c) { c.blockSize = 16 * 1048576; },
       "] FEHLER: Es konnte kein Volltestplan erzeugt werden.", L"Fehler: Kein Volltest möglich."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder drive;
    TestConfig config = Config(2 * kMiB, 64 * 1024);
    config.driveRoot = drive.path();
    config.filePath = JoinPathForTest(drive.path(), L"velkor.bin");
    c.prepare(config);
    statuses_.clear();
    const auto state = Run(config);
    EXPECT_TRUE(outcomes_.empty());
    EXPECT_TRUE(LogHas(c.logLine)) << Log();
    ASSERT_FALSE(statuses_.empty());
    EXPECT_EQ(statuses_.back(), c.status);
    EXPECT_FALSE(state->deletePending);
    // The failure stays the last status: the end summary of the progress display does not replace it.
    EXPECT_TRUE(state->preflightFailed);
    EXPECT_TRUE(BuildProgressView(TakeProgressSnapshot(*state)).keepStatus);
    // The front-end gets the two texts for its box, and no results file of a run that tested
    // nothing is left among the saved tests.
    EXPECT_EQ(state->failureStatus, c.status);
    EXPECT_EQ(platform::WideToUtf8(state->failureLine).rfind(c.logLine + 2, 0), 0u) << platform::WideToUtf8(state->failureLine);
    EXPECT_TRUE(ResultFiles().empty());
  }
}

}  // namespace
}  // namespace velkor
