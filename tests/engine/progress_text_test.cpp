#include "engine/progress_text.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace velkor {
namespace {

constexpr uint32_t kMiB = 1048576;

ProgressSnapshot Snapshot(int32_t phase, bool running, uint64_t written, uint64_t verified,
                          uint64_t total, double seconds) {
  ProgressSnapshot s;
  s.phase = phase;
  s.running = running;
  s.written = written;
  s.verified = verified;
  s.totalBlocks = total;
  s.blockSize = kMiB;
  s.ticksPerSecond = 1000;
  s.startTicks = 5000;
  s.nowTicks = 5000 + static_cast<int64_t>(seconds * 1000);
  return s;
}

TEST(ProgressView, WhileWriting) {
  const ProgressView v = BuildProgressView(Snapshot(kPhaseWriting, true, 1024, 0, 4096, 8));
  EXPECT_EQ(v.barPosition, 2500u);
  EXPECT_EQ(v.statusText, L"Schreiben: 1.0 GB / 4.0 GB (25.00%) | 128.00 MB/s | 00:00:08");
}

TEST(ProgressView, WhileVerifyingTheBarFollowsVerifiedBlocks) {
  const ProgressView v = BuildProgressView(Snapshot(kPhaseVerifying, true, 4096, 1024, 4096, 16));
  EXPECT_EQ(v.barPosition, 2500u);
  EXPECT_EQ(v.statusText, L"Lesen/Prüfen: 1.0 GB / 4.0 GB (25.00%) | 64.00 MB/s | 00:00:16");
}

TEST(ProgressView, BeforeTheFirstJob) {
  ProgressSnapshot s = Snapshot(kPhaseIdle, true, 0, 0, 0, 0);
  s.startTicks = 0;  // not set yet: no elapsed time, no speed
  const ProgressView v = BuildProgressView(s);
  EXPECT_EQ(v.barPosition, 0u);
  EXPECT_EQ(v.statusText, L"Vorbereitung: 0.0 B / 0.0 B (0.00%) | 0.00 MB/s | 00:00:00");
}

TEST(ProgressView, EndSummaries) {
  const struct {
    ProgressSnapshot s;
    StopReason stop;
    uint32_t bar;
    const wchar_t* text;
  } cases[] = {
      {Snapshot(kPhaseFinished, false, 4096, 4096, 4096, 61), StopReason::kNone, 10000,
       L"Fertig: 4.0 GB geschrieben, 4.0 GB geprüft, 0 Fehler | Zuverlässigkeit 100.00% | Ziel 4.0 GB | Dauer 00:01:01"},
      // Stopped: the bar keeps the share done, no jump to the end, and no reliability of a part.
      {Snapshot(kPhaseFinished, false, 100, 40, 400, 2), StopReason::kUser, 2500,
       L"Gestoppt: 100.0 MB geschrieben, 40.0 MB geprüft, 0 Fehler | Ziel 400.0 MB | Dauer 00:00:02"},
      // A drive that went away is a failure the user must see, but not the medium's.
      {Snapshot(kPhaseFinished, false, 100, 40, 400, 2), StopReason::kDriveGone, 2500,
       L"Fehler: Laufwerk während des Tests nicht mehr erreichbar (kein Befund über das Medium): 100.0 MB "
       L"geschrieben, 40.0 MB geprüft, 0 Fehler | Ziel 400.0 MB | Dauer 00:00:02"},
      // Ended by the medium's errors: a failure, not a stop.
      {Snapshot(kPhaseFinished, false, 400, 40, 400, 2), StopReason::kErrorLimit, 10000,
       L"Fehler: Test wegen Fehlern des Mediums beendet: 400.0 MB geschrieben, 40.0 MB geprüft, 0 Fehler | Ziel 400.0 MB | "
       L"Dauer 00:00:02"},
      {Snapshot(kPhaseFinished, false, 400, 0, 400, 2), StopReason::kFileSystemLimit, 10000,
       L"Fehler: Grenze des Dateisystems erreicht: 400.0 MB geschrieben, 0.0 B geprüft, 0 Fehler | Ziel 400.0 MB | "
       L"Dauer 00:00:02"},
      // Write-only job: no reliability.
      {Snapshot(kPhaseFinished, false, 8, 0, 8, 1), StopReason::kNone, 10000,
       L"Fertig: 8.0 MB geschrieben, 0.0 B geprüft, 0 Fehler | Ziel 8.0 MB | Dauer 00:00:01"},
      // Verify-only: it wrote nothing and does not say it did.
      {Snapshot(kPhaseFinished, false, 0, 64, 64, 2), StopReason::kNone, 10000,
       L"Fertig: 64.0 MB geprüft, 0 Fehler | Zuverlässigkeit 100.00% | Ziel 64.0 MB | Dauer 00:00:02"},
  };
  for (auto c : cases) {
    c.s.stopRequested = c.stop != StopReason::kNone;
    c.s.stopReason = c.stop;
    const ProgressView v = BuildProgressView(c.s);
    EXPECT_EQ(v.barPosition, c.bar) << c.text;
    EXPECT_EQ(v.statusText, c.text);
    EXPECT_FALSE(v.keepStatus);
  }
}

// With the run's amount known, the bar and the line follow the whole run, not the job: the stages
// that ended plus the one going on, the part by name, the run's time and the time left.
TEST(ProgressView, OneBarForTheWholeRun) {
  const struct {
    const char* what;
    int32_t part;
    uint32_t number, count;
    int32_t phase;
    bool running;
    StopReason stop;
    uint64_t doneBeforeMb;
    uint64_t stageBlocks;  // of the job's 32 blocks of 1 MiB
    uint32_t bar;
    const wchar_t* text;  // the line while running; the end keeps its summary
  } cases[] = {
      {"second variant writing", kRunPartMethodTest, 2, 3, kPhaseWriting, true, StopReason::kNone, 64, 26, 4017,
       L"Methodentest 2/3: schreiben – 90.0 MB / 224.0 MB (40.18%) | 2.60 MB/s | 00:00:20 | noch 00:00:30"},
      {"full test checking", kRunPartFullTest, 1, 1, kPhaseVerifying, true, StopReason::kNone, 192, 16, 9285,
       L"Volltest: prüfen – 208.0 MB / 224.0 MB (92.86%) | 1.60 MB/s | 00:00:20 | noch 00:00:02"},
      {"second file of four", kRunPartFullTest, 2, 4, kPhaseWriting, true, StopReason::kNone, 32, 0, 1428,
       L"Volltest 2/4: schreiben – 32.0 MB / 224.0 MB (14.29%) | 0.00 MB/s | 00:00:20 | noch 00:02:00"},
      {"verify only", kRunPartVerifyOnly, 1, 1, kPhaseVerifying, true, StopReason::kNone, 0, 8, 357,
       L"Nur prüfen – 8.0 MB / 224.0 MB (3.57%) | 0.80 MB/s | 00:00:20 | noch 00:09:00"},
      {"before the first job", kRunPartNone, 0, 0, kPhaseWriting, true, StopReason::kNone, 0, 0, 0,
       L"Vorbereitung – 0.0 B / 224.0 MB (0.00%) | 0.00 MB/s | 00:00:20 | noch --:--:--"},
      // At the end the job's counters hold the full test's totals: only the stages count.
      {"stopped", kRunPartNone, 0, 0, kPhaseFinished, false, StopReason::kUser, 112, 32, 5000, nullptr},
      {"finished", kRunPartNone, 0, 0, kPhaseFinished, false, StopReason::kNone, 224, 32, 10000, nullptr},
  };
  for (const auto& c : cases) {
    ProgressSnapshot s = Snapshot(c.phase, c.running, c.phase == kPhaseWriting ? c.stageBlocks : 32,
                                  c.phase == kPhaseVerifying ? c.stageBlocks : 0, 32, 10);
    s.runBytes = 224 * kMiB;
    s.runBytesDone = c.doneBeforeMb * kMiB;
    s.runStartTicks = s.startTicks;  // the run began 10 seconds before the job
    s.startTicks += 10000;
    s.nowTicks += 10000;
    s.runPart = c.part;
    s.partNumber = c.number;
    s.partCount = c.count;
    s.stopRequested = c.stop != StopReason::kNone;
    s.stopReason = c.stop;
    const ProgressView v = BuildProgressView(s);
    EXPECT_EQ(v.barPosition, c.bar) << c.what;
    if (c.text != nullptr) {
      EXPECT_EQ(platform::WideToUtf8(v.statusText), platform::WideToUtf8(c.text)) << c.what;
    }
  }
}

// The part's words follow the window's language.
TEST(ProgressView, TheRunsLineInEnglish) {
  ProgressSnapshot s = Snapshot(kPhaseVerifying, true, 32, 16, 32, 10);
  s.runBytes = 64 * kMiB;
  s.runBytesDone = 32 * kMiB;
  s.runStartTicks = s.startTicks;
  s.runPart = kRunPartMethodTest;
  s.partNumber = 1;
  s.partCount = 3;
  EXPECT_EQ(BuildProgressView(s, kLanguageEnglish).statusText,
            L"Method test 1/3: verifying – 48.0 MB / 64.0 MB (75.00%) | 1.60 MB/s | 00:00:10 | 00:00:03 left");
}

// A run that ended in its preflight posted its "Fehler:" status; no "Fertig:" may replace it.
TEST(ProgressView, APreflightFailureKeepsItsStatus) {
  TestState state;
  state.preflightFailed = true;
  const ProgressView v = BuildProgressView(TakeProgressSnapshot(state));
  EXPECT_TRUE(v.keepStatus);
  EXPECT_EQ(v.statusText, L"");
  EXPECT_EQ(v.barPosition, 0u);
}

// The end line and the summary give one reliability figure: any error is 0 %.
TEST(ProgressView, ReliabilityOfAFinishedRunWithErrors) {
  ProgressSnapshot s = Snapshot(kPhaseFinished, false, 10, 10, 10, 1);
  s.errors = 3;
  EXPECT_NE(BuildProgressView(s).statusText.find(L"3 Fehler | Zuverlässigkeit 0.00%"), std::wstring::npos);
  s.errors = 11;  // more errors than verified blocks
  EXPECT_NE(BuildProgressView(s).statusText.find(L"Zuverlässigkeit 0.00%"), std::wstring::npos);
}

// Once the outcome is there, the end line is the verdict's: its head, its errors, its figure.
TEST(ProgressView, TheEndLineTakesTheVerdict) {
  ResultRecord full;
  full.method = L"Ausgeglichen (Volltest)";
  full.bytes = full.writtenBytes = full.verifiedBytes = 10 * 1048576;
  full.verified = true;
  RunFacts fourGiB;
  fourGiB.freeBytes = 4096ULL * 1048576;
  const ProgressSnapshot s = Snapshot(kPhaseFinished, false, 10, 10, 10, 1);
  const Verdict partial = JudgeRun({full}, nullptr, fourGiB);
  EXPECT_EQ(BuildProgressView(s, kLanguageGerman, &partial).statusText,
            L"Fertig, nur ein Teil geprüft: 10.0 MB geschrieben, 10.0 MB geprüft, 0 Fehler | Zuverlässigkeit 100.00% | "
            L"Ziel 10.0 MB | Dauer 00:00:01");
  // Errors of a method-test variant fail the medium: the line says so and counts them.
  ResultRecord variant = full;
  variant.method = L"Turbo (aggressiv)";
  variant.errors = 2;
  const Verdict failed = JudgeRun({variant, full}, nullptr, fourGiB);
  EXPECT_EQ(BuildProgressView(s, kLanguageGerman, &failed).statusText,
            L"Fehler: Das Medium hat Fehler: 10.0 MB geschrieben, 10.0 MB geprüft, 2 Fehler | Zuverlässigkeit 0.00% | "
            L"Ziel 10.0 MB | Dauer 00:00:01");
}

TEST(ProgressView, SnapshotReadsTheState) {
  TestState state;
  state.running = true;
  state.phase = kPhaseWriting;
  state.blocksWritten = 3;
  state.totalBlocks = 6;
  state.blockSize = 4096;
  const ProgressSnapshot s = TakeProgressSnapshot(state);
  EXPECT_EQ(s.written, 3u);
  EXPECT_EQ(s.totalBlocks, 6u);
  EXPECT_EQ(BuildProgressView(s).barPosition, 5000u);
}

}  // namespace
}  // namespace velkor
