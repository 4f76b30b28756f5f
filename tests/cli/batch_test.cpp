#include <gtest/gtest.h>

#include <sstream>

#include "cli/batch_progress.h"
#include "cli/batch_schedule.h"
#include "cli/batch_summary.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

using S = BatchSlot;

TEST(BatchSchedule, NeverTwoRunsOnOneDeviceAndNoMoreThanTheLimit) {
  const struct {
    const char* what;
    std::vector<BatchSlot> slots;
    std::vector<std::wstring> devices;
    uint32_t limit;
    int next;
  } cases[] = {
      {"the first waiting one", {S::kWaiting, S::kWaiting}, {L"sdb", L"sdc"}, 2, 0},
      {"the next one while one runs", {S::kRunning, S::kWaiting}, {L"sdb", L"sdc"}, 2, 1},
      {"the limit reached", {S::kRunning, S::kWaiting}, {L"sdb", L"sdc"}, 1, -1},
      {"its device busy: a later one on another device", {S::kRunning, S::kWaiting, S::kWaiting},
       {L"sdb", L"sdb", L"sdc"}, 4, 2},
      {"only the busy device left", {S::kRunning, S::kWaiting, S::kDone}, {L"sdb", L"sdb", L"sdc"}, 4, -1},
      {"the device free again", {S::kDone, S::kWaiting}, {L"sdb", L"sdb"}, 4, 1},
      {"an unknown device is a device of its own", {S::kRunning, S::kWaiting}, {L"", L""}, 2, 1},
      {"nothing waits", {S::kDone, S::kRunning}, {L"a", L"b"}, 4, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(NextTargetToStart(c.slots, c.devices, c.limit), c.next);
  }
}

TEST(BatchSchedule, DefaultIsOneRunPerDeviceUpToTwoPerProcessor) {
  EXPECT_EQ(MaxParallelRuns(2), 4u);
  EXPECT_EQ(MaxParallelRuns(0), 2u);
  EXPECT_EQ(DefaultParallelRuns({L"sdb", L"sdc", L"sdb"}, 8), 2u);
  EXPECT_EQ(DefaultParallelRuns({L"a", L"b", L"c", L"d", L"e", L"f"}, 2), 4u);
  EXPECT_EQ(DefaultParallelRuns({L"", L""}, 8), 2u);
  EXPECT_EQ(DefaultParallelRuns({}, 8), 1u);
}

ResultRecord Record(const wchar_t* method, uint64_t bytes, uint64_t written, uint64_t verified, uint64_t errors,
                    StopReason stop = StopReason::kNone) {
  ResultRecord r;
  r.method = method;
  r.bytes = bytes;
  r.writtenBytes = written;
  r.verifiedBytes = verified;
  r.errors = errors;
  r.verified = verified == bytes;
  r.stopReason = stop;
  r.cancelled = IsCancelStop(stop);
  r.writeSeconds = written > 0 ? 2.0 : 0.0;
  r.verifySeconds = verified > 0 ? 1.0 : 0.0;
  return r;
}

// The verdict of a run from its records: what the table and the exit code rest on.
TEST(BatchSummary, VerdictsFromTheRecords) {
  const wchar_t* full = L"Quorvel-Modus (Volltest)";
  const struct {
    const char* what;
    std::vector<ResultRecord> records;
    StopReason runStop;
    BatchVerdict verdict;
  } cases[] = {
      {"everything read back", {Record(full, 64 * kMiB, 64 * kMiB, 64 * kMiB, 0)}, StopReason::kNone, BatchVerdict::kOk},
      {"two files, both read back",
       {Record(full, 32 * kMiB, 32 * kMiB, 32 * kMiB, 0), Record(full, 8 * kMiB, 8 * kMiB, 8 * kMiB, 0)},
       StopReason::kNone, BatchVerdict::kOk},
      {"mismatches", {Record(full, 64 * kMiB, 64 * kMiB, 64 * kMiB, 3)}, StopReason::kNone, BatchVerdict::kErrors},
      {"the error limit", {Record(full, 64 * kMiB, 64 * kMiB, 8 * kMiB, 500, StopReason::kErrorLimit)},
       StopReason::kErrorLimit, BatchVerdict::kErrors},
      {"a write failure, nothing read back", {Record(full, 64 * kMiB, 9 * kMiB, 0, 1, StopReason::kIoFailure)},
       StopReason::kIoFailure, BatchVerdict::kErrors},
      {"errors of the method test count",
       {Record(L"Turbo (aggressiv)", 8 * kMiB, 8 * kMiB, 8 * kMiB, 1), Record(full, 8 * kMiB, 8 * kMiB, 8 * kMiB, 0)},
       StopReason::kNone, BatchVerdict::kErrors},
      {"Ctrl-C", {Record(full, 64 * kMiB, 9 * kMiB, 0, 0, StopReason::kUser)}, StopReason::kUser,
       BatchVerdict::kStopped},
      {"the drive gone between two files", {Record(full, 8 * kMiB, 8 * kMiB, 8 * kMiB, 0)}, StopReason::kDriveGone,
       BatchVerdict::kStopped},
      {"a file-system limit", {Record(full, 64 * kMiB, 4 * kMiB, 0, 0, StopReason::kFileSystemLimit)},
       StopReason::kFileSystemLimit, BatchVerdict::kStopped},
      {"stopped in the method test", {Record(L"Turbo (aggressiv)", 8 * kMiB, 8 * kMiB, 8 * kMiB, 0)},
       StopReason::kUser, BatchVerdict::kStopped},
      {"not read back whole, no reason given", {Record(full, 64 * kMiB, 64 * kMiB, 32 * kMiB, 0)}, StopReason::kNone,
       BatchVerdict::kStopped},
      {"no record at all", {}, StopReason::kNone, BatchVerdict::kStopped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BatchRow row;
    FillRowFromRun(c.records, c.runStop, &row);
    EXPECT_TRUE(row.ran);
    EXPECT_EQ(row.verdict, c.verdict);
    EXPECT_EQ(row.usableBytes.has_value(), c.verdict == BatchVerdict::kOk);
    if (c.verdict == BatchVerdict::kStopped) {
      EXPECT_FALSE(row.reason.empty());
    }
  }
}

TEST(BatchSummary, FiguresOfTheFullTestAndSpeedsPerDirection) {
  BatchRow row;
  FillRowFromRun({Record(L"Turbo (aggressiv)", 8 * kMiB, 8 * kMiB, 8 * kMiB, 0),
                  Record(L"Turbo (Volltest)", 40 * kMiB, 40 * kMiB, 40 * kMiB, 0),
                  Record(L"Turbo (Volltest)", 24 * kMiB, 24 * kMiB, 24 * kMiB, 0)},
                 StopReason::kNone, &row);
  EXPECT_EQ(row.writtenBytes, 64 * kMiB) << "the method test's amounts are not the full test's";
  EXPECT_EQ(row.verifiedBytes, 64 * kMiB);
  EXPECT_EQ(*row.usableBytes, 64 * kMiB);
  EXPECT_DOUBLE_EQ(*row.writeMbPerSecond, 16.0);  // 64 MiB in 2 + 2 s
  EXPECT_DOUBLE_EQ(*row.readMbPerSecond, 32.0);   // 64 MiB in 1 + 1 s

  BatchRow verify;
  verify.verifyOnly = true;
  FillRowFromRun({Record(L"Quorvel-Modus (nur prüfen)", 16 * kMiB, 0, 16 * kMiB, 0)}, StopReason::kNone, &verify);
  EXPECT_EQ(verify.verdict, BatchVerdict::kOk);
  EXPECT_FALSE(verify.writeMbPerSecond) << "a verify writes nothing";
  EXPECT_DOUBLE_EQ(*verify.readMbPerSecond, 16.0);
}

// A fake that wraps after 256 MiB shows that as usable; a check that ended early without a sample
// claims nothing; a run without bad blocks keeps what it read back.
TEST(BatchSummary, UsableCapacityFromTheDiagnosis) {
  const std::vector<ResultRecord> fake = {
      Record(L"Quorvel-Modus (Volltest)", 992 * kMiB, 992 * kMiB, 499 * kMiB, 500, StopReason::kErrorLimit)};
  Diagnosis wraps;
  wraps.present = true;
  wraps.usableBytes = 256 * kMiB;
  Diagnosis partial = wraps;
  partial.partial = true;
  const struct {
    const char* what;
    std::vector<ResultRecord> records;
    Diagnosis diagnosis;
    std::optional<uint64_t> usable;
  } cases[] = {
      {"the estimate", fake, wraps, 256 * kMiB},
      {"a partial diagnosis tells nothing", fake, partial, std::nullopt},
      {"no diagnosis on a healthy run", {Record(L"Quorvel-Modus (Volltest)", 64 * kMiB, 64 * kMiB, 64 * kMiB, 0)},
       Diagnosis{}, 64 * kMiB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BatchRow row;
    FillRowFromRun(c.records, StopReason::kNone, &row);
    TakeDiagnosis(c.diagnosis, &row);
    EXPECT_EQ(row.usableBytes, c.usable);
  }
}

BatchRow Row(BatchVerdict verdict) {
  BatchRow row;
  row.verdict = verdict;
  return row;
}

TEST(BatchSummary, ExitCodes) {
  using V = BatchVerdict;
  const struct {
    std::vector<V> verdicts;
    bool interrupted;
    int code;
  } cases[] = {
      {{V::kOk, V::kOk}, false, 0},
      {{V::kOk, V::kErrors}, false, 1},
      {{V::kRefused, V::kErrors}, false, 1},  // errors outweigh a refusal
      {{V::kOk, V::kStopped}, false, 1},      // a drive gone checked less than planned
      {{V::kOk, V::kRefused}, false, 2},
      {{V::kRefused}, false, 2},
      {{V::kOk, V::kErrors, V::kStopped}, true, 130},
      {{V::kOk}, true, 130},
  };
  for (const auto& c : cases) {
    std::vector<BatchRow> rows;
    for (V v : c.verdicts) rows.push_back(Row(v));
    EXPECT_EQ(BatchExitCode(rows, c.interrupted), c.code) << rows.size() << " " << c.interrupted;
  }
}

std::vector<BatchRow> SampleRows() {
  BatchRow ok;
  ok.target = L"/media/karte1";
  ok.label = L"FOTOS";
  ok.sizeBytes = 64 * kMiB;
  FillRowFromRun({Record(L"Quorvel-Modus (Volltest)", 32 * kMiB, 32 * kMiB, 32 * kMiB, 0)}, StopReason::kNone, &ok);
  BatchRow fake;
  fake.target = L"/media/billig";
  fake.label = L"ohne Namen";
  fake.sizeBytes = 1024 * kMiB;
  FillRowFromRun({Record(L"Quorvel-Modus (Volltest)", 992 * kMiB, 992 * kMiB, 2 * kMiB, 500, StopReason::kErrorLimit)},
                 StopReason::kErrorLimit, &fake);
  BatchRow refused;
  refused.target = L"/media/ro\x1b[2J";
  refused.reason = L"Das ausgewählte Laufwerk ist schreibgeschützt.";
  return {ok, fake, refused};
}

TEST(BatchSummary, TableWithAColumnPerFigure) {
  const std::wstring table = BatchTableText(SampleRows());
  std::wistringstream lines(table);
  std::vector<std::wstring> rows;
  for (std::wstring line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 4u) << Narrow(table);
  EXPECT_EQ(rows[0],
            L"Ziel           Name          Größe  Geschrieben  Geprüft  Fehler  Nutzbar  Schreiben MB/s  Lesen MB/s  "
            L"Ergebnis");
  EXPECT_EQ(rows[1],
            L"/media/karte1  FOTOS       64.0 MB      32.0 MB  32.0 MB       0  32.0 MB           16.00       32.00  OK");
  EXPECT_EQ(rows[2],
            L"/media/billig  ohne Namen   1.0 GB     992.0 MB   2.0 MB     500        –          496.00        2.00  "
            L"Fehler");
  // A target never described shows dashes; a control character cannot reach the terminal.
  EXPECT_EQ(rows[3],
            L"/media/ro?[2J  –                 –            –        –       –        –               –           –  "
            L"abgelehnt");
}

TEST(BatchSummary, JsonHasTheTableAndNullWhereItShowsADash) {
  const std::wstring json = BatchSummaryJson(SampleRows(), L"test", 1, false);
  for (const wchar_t* part :
       {L"\"schema\": \"velkor-batch-v1\",\n", L"\"command\": \"test\",\n", L"\"exitCode\": 1,\n",
        L"\"interrupted\": false,\n",
        L"{\"target\":\"/media/karte1\",\"label\":\"FOTOS\",\"fileSystem\":\"\",\"device\":\"\",\"sizeBytes\":67108864,"
        L"\"writtenBytes\":33554432,\"verifiedBytes\":33554432,\"errors\":0,\"usableBytes\":33554432,"
        L"\"writeMBps\":16.00,\"readMBps\":32.00,\"verdict\":\"OK\",\"stopReason\":\"none\",\"reason\":\"\","
        L"\"resultsFile\":\"\"},\n",
        L"\"errors\":500,\"usableBytes\":null,", L"\"verdict\":\"Fehler\",\"stopReason\":\"errorLimit\"",
        L"{\"target\":\"/media/ro\\u001b[2J\",\"label\":\"\",", L"\"sizeBytes\":null,\"writtenBytes\":null,"
        L"\"verifiedBytes\":null,\"errors\":null,\"usableBytes\":null,\"writeMBps\":null,\"readMBps\":null,"
        L"\"verdict\":\"abgelehnt\",\"stopReason\":\"none\",\"reason\":\"Das ausgewählte Laufwerk ist "
        L"schreibgeschützt.\",\"resultsFile\":\"\"}\n  ]\n}\n"}) {
    EXPECT_NE(json.find(part), std::wstring::npos) << Narrow(part) << "\n" << Narrow(json);
  }
}

ProgressSnapshot Snapshot(int32_t phase, uint64_t written, uint64_t verified, uint64_t total, uint64_t errors) {
  ProgressSnapshot s;
  s.running = true;
  s.phase = phase;
  s.written = written;
  s.verified = verified;
  s.totalBlocks = total;
  s.errors = errors;
  s.blockSize = 1048576;
  s.ticksPerSecond = 1000;
  s.startTicks = 1000;
  s.nowTicks = 5000;  // 4 s
  return s;
}

TEST(BatchProgress, OneLinePerTargetWithPhasePercentSpeedAndErrors) {
  EXPECT_EQ(RunningTargetText(Snapshot(kPhaseWriting, 0, 0, 0, 0)), L"Vorbereitung");
  EXPECT_EQ(RunningTargetText(Snapshot(kPhaseWriting, 40, 0, 160, 0)), L"Schreiben 25.00% 10.00 MB/s, Fehler 0");
  EXPECT_EQ(RunningTargetText(Snapshot(kPhaseVerifying, 160, 80, 160, 7)), L"Lesen/Prüfen 50.00% 20.00 MB/s, Fehler 7");
  EXPECT_EQ(TargetLine(L"E:\\", 6, L"wartet", 80), L"E:\\     wartet");
  EXPECT_EQ(TargetLine(L"/media/karte1", 6, L"Schreiben 25.00%", 20), L"/media/karte1  Schre");
}

TEST(BatchProgress, RedrawReplacesTheBlockBelowTheNewLogLines) {
  EXPECT_EQ(RedrawBlock(0, L"", {L"a  wartet", L"b  OK"}), L"a  wartet\nb  OK\n");
  EXPECT_EQ(RedrawBlock(2, L"[12:00:00] [a] Zeile\n", {L"a  Schreiben", L"b  OK"}),
            L"\x1b[2A\r\x1b[J[12:00:00] [a] Zeile\na  Schreiben\nb  OK\n");
  EXPECT_EQ(RedrawBlock(3, L"", {}), L"\x1b[3A\r\x1b[J");  // the block gone at the end
}

}  // namespace
}  // namespace velkor
