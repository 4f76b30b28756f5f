#include "results/result_record.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

constexpr uint64_t kGiB = 1073741824;

ResultRecord Record(const wchar_t* method, uint64_t bytes, double speed, bool verified, uint64_t errors = 0) {
  ResultRecord r;
  r.method = method;
  r.bytes = bytes;
  r.mbPerSecond = speed;
  r.verified = verified;
  r.errors = errors;
  // What a job that ran through leaves.
  r.writtenBytes = std::wstring(method).find(L"nur prüfen") == std::wstring::npos ? bytes : 0;
  r.verifiedBytes = verified ? bytes : 0;
  return r;
}

ResultRecord Flagged(ResultRecord r, bool cancelled, bool recommended) {
  r.cancelled = cancelled;
  r.recommended = recommended;
  return r;
}

// A job that stopped early after writing and reading back part of it.
ResultRecord Stopped(ResultRecord r, StopReason reason, uint64_t written, uint64_t verified) {
  r.stopReason = reason;
  r.cancelled = IsCancelStop(reason);
  r.writtenBytes = written;
  r.verifiedBytes = verified;
  r.verified = verified == r.bytes;
  r.mbPerSecond = 0.0;
  return r;
}

ResultRecord Sized(ResultRecord r, uint32_t workers, uint32_t blockSize) {
  r.workers = workers;
  r.blockSize = blockSize;
  return r;
}

TEST(ResultText, FirstMatchingRuleWins) {
  const struct {
    bool recommended, cancelled;
    uint64_t errors;
    const wchar_t* text;
  } rows[] = {
      {true, true, 5, L"Empfehlung"}, {true, false, 0, L"Empfehlung"}, {false, true, 5, L"abgebrochen"},
      {false, true, 0, L"abgebrochen"}, {false, false, 1, L"Fehler"},   {false, false, 0, L"OK"},
  };
  for (const auto& row : rows) {
    ResultRecord r;
    r.recommended = row.recommended;
    r.cancelled = row.cancelled;
    r.errors = row.errors;
    EXPECT_EQ(ResultText(r), row.text) << row.recommended << row.cancelled << row.errors;
  }
}

// A job the medium's errors stopped is "Fehler" even where it found none itself (a file that was
// written but never read back because an earlier one hit the error limit); a cancel stop is not.
TEST(ResultText, StopReasons) {
  const struct {
    StopReason reason;
    const wchar_t* text;
  } rows[] = {
      {StopReason::kNone, L"OK"},           {StopReason::kUser, L"abgebrochen"},
      {StopReason::kDriveGone, L"abgebrochen"}, {StopReason::kFileSystemLimit, L"abgebrochen"},
      {StopReason::kErrorLimit, L"Fehler"}, {StopReason::kIoFailure, L"Fehler"},
      {StopReason::kFileHeld, L"abgebrochen"},  // another program kept the file
  };
  for (const auto& row : rows) {
    const ResultRecord r = Stopped(Record(L"Zuverlässig (Volltest)", kGiB, 0.0, false), row.reason, kGiB, 0);
    EXPECT_EQ(ResultText(r), row.text) << StopReasonName(row.reason);
    EXPECT_EQ(StopReasonFromName(StopReasonName(row.reason)), row.reason);
  }
}

TEST(IsFullOrVerifyRecord, ExactSubstrings) {
  const struct {
    const wchar_t* method;
    bool full;
  } rows[] = {
      {L"Turbo (aggressiv)", false},         {L"Zuverlässig", false},
      {L"Ausgeglichen (Volltest)", true},    {L"Ausgeglichen (nur prüfen)", true},
      {L"Quorvel-Modus (volltest)", false},  {L"Ausgeglichen (Nur prüfen)", false},
      {L"Volltest", true},                   {L"", false},
  };
  for (const auto& row : rows) {
    ResultRecord r;
    r.method = row.method;
    EXPECT_EQ(IsFullOrVerifyRecord(r), row.full) << std::string(r.method.begin(), r.method.end());
  }
}

TEST(BuildResultSummary, Table) {
  const ResultRecord full = Record(L"Ausgeglichen (Volltest)", kGiB, 20.0, true);
  const struct {
    const char* what;
    std::vector<ResultRecord> records;
    std::wstring summary;
  } cases[] = {
      {"empty list", {}, L"Zusammenfassung: Noch keine Ergebnisse."},
      {"one verified full-test file",
       {full},
       L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 1.0 GB, Fehler 0, "
       L"Zuverlässigkeit 100.00%, \u00D8 20.00 MB/s"},
      {"the same with errors",
       {Record(L"Ausgeglichen (Volltest)", kGiB, 0.0, true, 3)},
       L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 1.0 GB, Fehler 3, Zuverlässigkeit 0.00%"},
      {"verify-only says it wrote nothing",
       {Record(L"Ausgeglichen (nur prüfen)", kGiB, 0.0, true)},
       L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft 1.0 GB, Fehler 0, Zuverlässigkeit "
       L"100.00%"},
      {"a full test beside verify rows still counts what it wrote",
       {Record(L"Ausgeglichen (nur prüfen)", kGiB, 0.0, true), Record(L"Ausgeglichen (Volltest)", kGiB, 0.0, true)},
       L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 2.0 GB, Fehler 0, Zuverlässigkeit 100.00%"},
      {"full test without verify stage",
       {Record(L"Turbo (aggressiv) (Volltest)", kGiB, 30.0, false)},
       L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 0.0 B, Fehler 0, \u00D8 30.00 MB/s"},
      {"speed weighted by bytes",
       {Record(L"Ausgeglichen (Volltest)", kGiB, 10.0, true), Record(L"Ausgeglichen (Volltest)", 3 * kGiB, 30.0, true)},
       L"Zusammenfassung: geschrieben 4.0 GB, zurück gelesen/geprüft 4.0 GB, Fehler 0, "
       L"Zuverlässigkeit 100.00%, \u00D8 25.00 MB/s"},
      {"method-test records only, one recommended",
       {Record(L"Turbo (aggressiv)", kGiB, 50.0, true),
        Flagged(Sized(Record(L"Zuverlässig", kGiB, 12.0, true), 2, 1048576), false, true)},
       L"Zusammenfassung: geschrieben 0.0 B, zurück gelesen/geprüft 0.0 B, Fehler 0\r\n"
       L"Empfehlung: Zuverlässig, Worker 2, Block 1024 KB"},
      {"a variant's errors are the medium's: counted, and nothing recommended",
       {Record(L"Turbo (aggressiv)", kGiB, 50.0, true, 2),
        Flagged(Sized(Record(L"Zuverlässig", kGiB, 12.0, true), 2, 1048576), false, true)},
       L"Zusammenfassung: geschrieben 0.0 B, zurück gelesen/geprüft 0.0 B, Fehler 2"},
      {"method-test records only, none recommended",
       {Record(L"Turbo (aggressiv)", kGiB, 50.0, true)},
       L"Zusammenfassung: geschrieben 0.0 B, zurück gelesen/geprüft 0.0 B, Fehler 0"},
      {"method test then full test; the last recommendation wins",
       {Flagged(Sized(Record(L"Turbo (aggressiv)", 32 << 20, 40.0, true), 3, 8388608), false, true),
        Flagged(Sized(Record(L"Ausgeglichen", 32 << 20, 41.0, true), 4, 4096), false, true),
        Record(L"Ausgeglichen (Volltest)", 512 << 20, 12.5, true)},
       L"Zusammenfassung: geschrieben 512.0 MB, zurück gelesen/geprüft 512.0 MB, Fehler 0, "
       L"Zuverlässigkeit 100.00%, \u00D8 12.50 MB/s\r\nEmpfehlung: Ausgeglichen, Worker 4, Block 4 KB"},
      {"a stopped file counts what it wrote and read back, and claims no reliability",
       {Stopped(Record(L"Ausgeglichen (Volltest)", 2 * kGiB, 0.0, false), StopReason::kUser, 154 << 20, 0)},
       L"Zusammenfassung: geschrieben 154.0 MB, zurück gelesen/geprüft 0.0 B, Fehler 0, Prüfung unvollständig"},
      {"stopped while reading back, no error: no 100 %",
       {Stopped(Record(L"Ausgeglichen (Volltest)", kGiB, 0.0, false), StopReason::kUser, kGiB, 300 << 20)},
       L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 300.0 MB, Fehler 0, Prüfung unvollständig"},
      {"stopped by the error limit",
       {[] {
         ResultRecord r = Stopped(Record(L"Zuverlässig (Volltest)", kGiB, 0.0, false), StopReason::kErrorLimit,
                                  kGiB, 300 << 20);
         r.errors = 500;
         return r;
       }(),
        Stopped(Record(L"Zuverlässig (Volltest)", kGiB, 0.0, false), StopReason::kErrorLimit, kGiB, 0)},
       L"Zusammenfassung: geschrieben 2.0 GB, zurück gelesen/geprüft 300.0 MB, Fehler 500, Zuverlässigkeit 0.00%, "
       L"Prüfung unvollständig"},
      {"one error anywhere gives 0.00 %",
       {full, Record(L"Ausgeglichen (Volltest)", kGiB, 0.0, true, 1)},
       L"Zusammenfassung: geschrieben 2.0 GB, zurück gelesen/geprüft 2.0 GB, Fehler 1, "
       L"Zuverlässigkeit 0.00%, \u00D8 20.00 MB/s"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BuildResultSummary(c.records), c.summary);
  }
}

}  // namespace
}  // namespace velkor
