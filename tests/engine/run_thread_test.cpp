#include "engine/run_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

#include "common/diag_log.h"
#include "common/format.h"
#include "common/handover.h"
#include "engine/method_plan.h"
#include "engine/pattern.h"
#include "engine/progress_text.h"
#include "engine/run_outcome.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "results/result_report.h"
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

// The run wrote down which drive it tested, how large and how full it was, when it began and how
// it ended, in its outcome and its results file alike. startedAt lies between the two times given.
void ExpectEvidence(const RunOutcome& outcome, const std::wstring& drive, uint64_t testSize, StopReason stop,
                    const std::wstring& before, const std::wstring& after) {
  const ResultsFileHeader& h = outcome.header;
  EXPECT_EQ(h.driveRoot, drive);
  std::wstring label, fileSystem;
  platform::QueryVolumeNames(drive, &label, &fileSystem);  // none for a folder that is no volume's root
  EXPECT_EQ(h.label, label);
  EXPECT_GT(h.capacityBytes, 0u);
  EXPECT_GE(h.freeBytes, testSize);
  EXPECT_LE(h.freeBytes, h.capacityBytes);
  ASSERT_EQ(h.startedAt.size(), before.size()) << platform::WideToUtf8(h.startedAt);
  EXPECT_LE(before, h.startedAt);
  EXPECT_LE(h.startedAt, after);
  EXPECT_EQ(h.stopReason, stop);
  ResultsFileHeader saved;
  ASSERT_TRUE(LoadResultsHeader(outcome.databasePath, &saved));
  EXPECT_EQ(saved.label, h.label);
  EXPECT_EQ(saved.capacityBytes, h.capacityBytes);
  EXPECT_EQ(saved.freeBytes, h.freeBytes);
  EXPECT_EQ(saved.startedAt, h.startedAt);
  EXPECT_EQ(saved.stopReason, stop);
  EXPECT_TRUE(saved.final);
}

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
  const std::wstring before = MakeLogTimestamp();
  const auto state = Run(config);

  ASSERT_EQ(outcomes_.size(), 1u);
  const RunOutcome& outcome = outcomes_[0];
  ExpectEvidence(outcome, drive_, 8 * kMiB, StopReason::kNone, before, MakeLogTimestamp());
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
  // One bar for the whole run: it counted every byte the jobs wrote and read back, each once,
  // and that was the amount it went to.
  uint64_t moved = 0;
  for (const ResultRecord& r : results) moved += r.writtenBytes + r.verifiedBytes;
  EXPECT_EQ(state->runBytesDone, moved);
  EXPECT_EQ(state->runBytes, moved);
  EXPECT_EQ(BuildProgressView(TakeProgressSnapshot(*state)).barPosition, 10000u);
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
  EXPECT_TRUE(LogHas("] FEHLER: Datenabweichung bei Block 10, Offset=655360, Art: besch\xC3\xA4" "digt ("));
  EXPECT_TRUE(LogHas("] FEHLER: Datenabweichung bei Block 33, Offset=2162688, Art: besch\xC3\xA4" "digt ("));
  EXPECT_TRUE(LogHas("] Nur pr\xC3\xBC" "fen: Vorpr\xC3\xBC" "fung f\xC3\xBCr Laufwerk "));
  EXPECT_TRUE(LogHas("] Start: Nur pr\xC3\xBC" "fen auf Laufwerk "));
  EXPECT_TRUE(LogHas("] Nur-Pr\xC3\xBC" "fen beendet: Art des Zugriffs=Quorvel-Modus (nur pr\xC3\xBC" "fen), Worker=2, "
                     "gepr\xC3\xBC" "ft=64, Fehler=2"));
  EXPECT_TRUE(LogHas("] Test abgeschlossen.\r\n"));  // mismatches below the limit end nothing
  EXPECT_FALSE(state->deletePending) << "a verify-only run never offers deletion";
  EXPECT_EQ(ReadFileBytes(config.filePath).size(), 4 * kMiB) << "verify-only writes nothing";
}

// Two runs at once in one process, each on a thread with its own run context (velkor-cli with
// several targets): every line, the workers' mismatch lines among them, carries its run's mark and
// reaches only its run's receiver, as do the outcome and the status texts; the write and read
// times are measured apart.
TEST_F(TestRunTest, TwoRunsAtOnceKeepTheirLinesAndOutcomesApart) {
  const std::wstring other = folder_.File(L"other");
  platform::CreateFolder(other);
  TestConfig a = Config(4 * kMiB, 64 * 1024);
  TestConfig b = a;
  b.driveRoot = other;
  b.filePath = JoinPathForTest(other, L"velkor.bin");
  Run(a);
  Run(b);
  ASSERT_EQ(outcomes_.size(), 2u);
  EXPECT_GT(outcomes_[0].results[0].writeSeconds, 0.0);
  EXPECT_GT(outcomes_[0].results[0].verifySeconds, 0.0);
  {
    platform::FileHandle file = platform::OpenFileForWrite(b.filePath, false);
    ASSERT_TRUE(file.valid());
    uint32_t done = 0;
    const std::string junk(100, 'X');
    ASSERT_TRUE(platform::WriteFileAt(file, 21 * 65536, junk.data(), 100, &done));
    platform::CloseFile(file);
  }
  struct Sink {
    std::mutex mutex;
    std::vector<std::wstring> lines, statuses;
    std::vector<RunOutcome> outcomes;
  };
  Sink first, second;
  auto run = [](TestConfig config, const std::wstring& prefix, Sink& sink) {
    auto receiver = std::make_shared<const UiReceiver>(UiReceiver{
        [&sink](std::wstring l) {
          std::lock_guard<std::mutex> lock(sink.mutex);
          sink.lines.push_back(std::move(l));
        },
        [&sink](std::wstring s) {
          std::lock_guard<std::mutex> lock(sink.mutex);
          sink.statuses.push_back(std::move(s));
        },
        [&sink](std::unique_ptr<RunOutcome> o) {
          std::lock_guard<std::mutex> lock(sink.mutex);
          sink.outcomes.push_back(std::move(*o));
        }});
    config.verifyOnly = true;
    return std::thread([config, prefix, receiver] {
      const ScopedRunContext scope(std::make_shared<const RunContext>(RunContext{prefix, receiver}));
      RunTest(config, NewRunState(config));
    });
  };
  std::thread ta = run(a, L"[A] ", first), tb = run(b, L"[B] ", second);
  ta.join();
  tb.join();

  EXPECT_EQ(outcomes_.size(), 2u) << "nothing of the two runs reaches the process's receiver";
  for (Sink* sink : {&first, &second}) {
    const std::wstring mark = sink == &first ? L"] [A] " : L"] [B] ";
    ASSERT_GT(sink->lines.size(), 5u);
    for (const std::wstring& line : sink->lines) EXPECT_EQ(line.find(mark), 9u) << std::string(line.begin(), line.end());
    ASSERT_EQ(sink->outcomes.size(), 1u);
    EXPECT_FALSE(sink->statuses.empty());
  }
  auto has = [](const Sink& sink, const std::wstring& text) {
    return std::any_of(sink.lines.begin(), sink.lines.end(),
                       [&](const std::wstring& l) { return l.find(text) != std::wstring::npos; });
  };
  EXPECT_TRUE(has(second, L"[B] FEHLER: Datenabweichung bei Block 21, Offset=1376256, Art: "));
  EXPECT_FALSE(has(first, L"Datenabweichung"));
  EXPECT_EQ(first.outcomes[0].driveRoot, drive_);
  EXPECT_EQ(second.outcomes[0].driveRoot, other);
  EXPECT_NE(first.outcomes[0].databasePath, second.outcomes[0].databasePath);
  EXPECT_EQ(first.outcomes[0].results[0].errors, 0u);
  EXPECT_EQ(second.outcomes[0].results[0].errors, 1u);
  EXPECT_GT(second.outcomes[0].results[0].verifySeconds, 0.0);
  EXPECT_EQ(second.outcomes[0].results[0].writeSeconds, 0.0) << "verify-only writes nothing";
  // The log file holds both, each line marked.
  EXPECT_TRUE(LogHas("] [B] FEHLER: Datenabweichung bei Block 21, Offset=1376256, Art: "));
  EXPECT_TRUE(LogHas("] [A] Test abgeschlossen.\r\n"));
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
  const std::wstring before = MakeLogTimestamp();
  const auto state = Run(verify);

  ASSERT_EQ(outcomes_.size(), 2u);
  ExpectEvidence(outcomes_[1], drive_, 0, StopReason::kErrorLimit, before, MakeLogTimestamp());
  ASSERT_EQ(outcomes_[1].results.size(), 1u);
  const ResultRecord& r = outcomes_[1].results[0];
  EXPECT_EQ(r.stopReason, StopReason::kErrorLimit);
  EXPECT_FALSE(r.cancelled);
  EXPECT_FALSE(r.verified);
  EXPECT_EQ(r.verifiedBytes, 11 * 65536u) << "blocks 0 to 10 read back; block 10 hit the limit";
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
  const std::wstring before = MakeLogTimestamp();
  RunTest(config, state);

  ASSERT_EQ(outcomes_.size(), 1u);
  ExpectEvidence(outcomes_[0], drive_, 8 * kMiB, StopReason::kUser, before, MakeLogTimestamp());
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

// Media as they fail, made by altering what a healthy run wrote and checking it again without
// writing: the diagnosis names what is wrong, from where, and how much is usable. A low error
// limit ends the check early, so the sample of the unchecked blocks has to cover the rest.
TEST_F(TestRunTest, VerifyOnlyDiagnosesWhatTheMediumDidToItsBlocks) {
  constexpr uint32_t kBlock = 65536;
  constexpr uint64_t kBlocks = 256;  // 16 MiB
  using Alter = std::function<void(std::string&)>;
  auto pattern = [](uint64_t index) {
    std::string bytes(kBlock, '\0');
    FillPatternReference(bytes.data(), kBlock, kTestPatternSeed, index);
    return bytes;
  };
  const struct Case {
    const char* what;
    Alter alter;
    uint32_t errorLimit;
    DiagnosisFinding finding;
    const char* usable;      // the report's capacity line
    const char* logged;      // a mismatch line's class
    bool warning;
  } cases[] = {
      {"wraps after 4 MiB: every block holds the last one written over it",
       [&](std::string& file) {
         for (uint64_t i = 0; i < kBlocks - 64; ++i) file.replace(i * kBlock, kBlock, pattern(kBlocks - 64 + i % 64));
       },
       // Which mismatches are logged depends on the two workers' pace.
       20, DiagnosisFinding::kWraps, "4.0 MB", ", Art: \xC3\xBC" "berschrieben (Daten von Block ", false},
      {"zeros from block 75 on",
       [](std::string& file) { file.replace(75 * kBlock, file.size() - 75 * kBlock, file.size() - 75 * kBlock, '\0'); },
       20, DiagnosisFinding::kEmptyFrom, "4.7 MB", ", Art: leer", false},
      {"three blocks corrupted in the middle",
       [](std::string& file) {
         for (uint64_t b : {100, 101, 180}) file[b * kBlock + 333] ^= 0x20;
       },
       500, DiagnosisFinding::kSingleBlocks, "15.8 MB", ", Art: besch\xC3\xA4" "digt (1 Byte abweichend)", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    outcomes_.clear();
    TempFolder drive;
    TestConfig config = Config(kBlocks * kBlock, kBlock);
    config.driveRoot = drive.path();
    config.filePath = JoinPathForTest(drive.path(), L"velkor.bin");
    Run(config);
    std::string file = ReadFileBytes(config.filePath);
    ASSERT_EQ(file.size(), kBlocks * kBlock);
    c.alter(file);
    testing::WriteFileBytes(config.filePath, file);
    platform::DeleteFileAtPath(folder_.File(L"velkor.log"));

    TestConfig verify = config;
    verify.verifyOnly = true;
    verify.errorLimit = c.errorLimit;
    const auto state = Run(verify);

    ASSERT_EQ(outcomes_.size(), 2u);
    const RunOutcome& outcome = outcomes_[1];
    const Diagnosis& d = outcome.diagnosis.diagnosis;
    ASSERT_TRUE(d.present);
    EXPECT_EQ(d.finding, c.finding);
    EXPECT_EQ(d.testBytes, kBlocks * kBlock);
    EXPECT_EQ(d.checked, kBlocks);  // the check and the sample together cover every block
    const std::wstring report = BuildResultReport(outcome.results, CurrentStopReason(*state), &d).body;
    EXPECT_NE(report.find(L"\r\nDiagnose\r\n  Befund: "), std::wstring::npos) << platform::WideToUtf8(report);
    // Where the system tells where the file lies, the figures are offsets on this disk, wherever
    // the file landed; the places' own logic is tested with maps made to measure.
    const std::string usable = d.deviceOrder ? platform::WideToUtf8(UsableCapacityText(d)) : c.usable;
    EXPECT_NE(report.find(L"\r\n  Nutzbare Kapazität (geschätzt): " + platform::Utf8ToWide(usable) + L"\r\n"),
              std::wstring::npos)
        << platform::WideToUtf8(report);
    EXPECT_EQ(report.find(L"  Warnung: ") != std::wstring::npos, c.warning);
    EXPECT_LT(report.find(L"Volltest / Prüfung"), report.find(L"Diagnose"));
    EXPECT_LT(report.find(L"Diagnose"), report.find(L"Zusammenfassung"));
    EXPECT_TRUE(LogHas(c.logged)) << Log();
    EXPECT_TRUE(LogHas("] Diagnose: Nutzbare Kapazit\xC3\xA4t (gesch\xC3\xA4tzt): " + usable + "\r\n"));
    EXPECT_EQ(LogHas("] Diagnose: Stichprobe aus "), c.errorLimit < 100) << Log();

    // The results file carries it, and what reads the file gets it back.
    std::vector<ResultRecord> records;
    RunDiagnosis loaded;
    ASSERT_TRUE(LoadResultsFile(outcome.databasePath, &records, &loaded));
    EXPECT_EQ(records.size(), 1u);
    EXPECT_TRUE(loaded.diagnosis.present);
    EXPECT_EQ(loaded.diagnosis.usableBytes, d.usableBytes);
    EXPECT_EQ(loaded.diagnosis.cells, d.cells);
    EXPECT_TRUE(loaded.speedCurve.write.empty());  // nothing written
    EXPECT_EQ(loaded.speedCurve.read.size(), kSpeedCurvePoints);
  }
}

// A run that found nothing shows nothing new: no diagnosis, the report as before; only the speed
// curve goes into the results file.
TEST_F(TestRunTest, AHealthyRunHasNoDiagnosisButASpeedCurve) {
  const TestConfig config = Config(8 * kMiB, 256 * 1024);
  const auto state = Run(config);
  ASSERT_EQ(outcomes_.size(), 1u);
  const RunOutcome& outcome = outcomes_[0];
  EXPECT_FALSE(outcome.diagnosis.diagnosis.present);
  EXPECT_EQ(BuildResultReport(outcome.results, CurrentStopReason(*state), &outcome.diagnosis.diagnosis).body,
            BuildResultReport(outcome.results, CurrentStopReason(*state)).body);
  EXPECT_FALSE(LogHas("Diagnose"));
  EXPECT_EQ(outcome.diagnosis.speedCurve.write.size(), kSpeedCurvePoints);
  EXPECT_EQ(outcome.diagnosis.speedCurve.read.size(), kSpeedCurvePoints);
  for (double v : outcome.diagnosis.speedCurve.write) EXPECT_GT(v, 0.0);
  const std::string file = ReadFileBytes(outcome.databasePath);
  EXPECT_EQ(file.find("\"diagnosis\""), std::string::npos);
  EXPECT_NE(file.find("  ],\n  \"speedCurve\": {\"write\":["), std::string::npos);
}

}  // namespace
}  // namespace velkor
