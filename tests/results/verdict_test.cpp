#include "results/verdict.h"

#include <gtest/gtest.h>

#include "results/evidence.h"
#include "results/result_report.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;
constexpr uint64_t kGiB = 1024 * kMiB;

// A full-test file that ran through: written and read back whole in 10 s.
ResultRecord Full(uint64_t bytes, uint64_t errors = 0) {
  ResultRecord r;
  r.method = L"Ausgeglichen (Volltest)";
  r.bytes = r.writtenBytes = r.verifiedBytes = bytes;
  r.verified = true;
  r.errors = errors;
  r.seconds = 10.0;
  r.mbPerSecond = errors == 0 ? 2.0 * static_cast<double>(bytes) / kMiB / 10.0 : 0.0;
  return r;
}

ResultRecord Stopped(ResultRecord r, StopReason reason, uint64_t verified, uint64_t errors = 0) {
  r.stopReason = reason;
  r.cancelled = IsCancelStop(reason);
  r.verifiedBytes = verified;
  r.verified = false;
  r.errors = errors;
  r.mbPerSecond = 0.0;
  return r;
}

ResultRecord VerifyOnly(uint64_t bytes) {
  ResultRecord r = Full(bytes);
  r.method = L"Ausgeglichen (nur prüfen)";
  r.writtenBytes = 0;
  return r;
}

ResultRecord MethodVariant(uint64_t errors) {
  ResultRecord r = Full(32 * kMiB, errors);
  r.method = L"Turbo (aggressiv)";
  return r;
}

Diagnosis Wrapping(uint64_t usable) {
  Diagnosis d;
  d.present = true;
  d.finding = DiagnosisFinding::kWraps;
  d.usableBytes = usable;
  return d;
}

RunFacts Free(uint64_t freeBytes, uint64_t reserve = 0) {
  RunFacts facts;
  facts.freeBytes = freeBytes;
  facts.reserveBytes = reserve;
  return facts;
}

RunFacts With(RunFacts facts, StopReason stop, bool final = true) {
  facts.stop = stop;
  facts.final = final;
  return facts;
}

TEST(JudgeRun, Outcomes) {
  const Diagnosis wraps = Wrapping(256 * kMiB);
  const struct {
    const char* what;
    std::vector<ResultRecord> records;
    const Diagnosis* diagnosis;
    RunFacts facts;
    VerdictKind kind;
    StopReason reason;
  } cases[] = {
      {"the whole free space, less the safety buffer", {Full(4 * kGiB - 32 * kMiB)}, nullptr, Free(4 * kGiB),
       VerdictKind::kOk, StopReason::kNone},
      {"sized to the free space and rounded down per file", {Full(2 * kGiB - 17 * kMiB), Full(2 * kGiB - 16 * kMiB)},
       nullptr, Free(4 * kGiB), VerdictKind::kOk, StopReason::kNone},
      {"the whole free space less the user's reserve", {Full(3 * kGiB - 32 * kMiB)}, nullptr,
       Free(4 * kGiB, kGiB), VerdictKind::kOk, StopReason::kNone},
      {"1 GB of 4 GB free", {Full(kGiB)}, nullptr, Free(4 * kGiB, kGiB), VerdictKind::kOkPartial, StopReason::kNone},
      {"free space not known (an older file)", {Full(kGiB)}, nullptr, RunFacts{}, VerdictKind::kOk, StopReason::kNone},
      {"verify-only over the files of a whole test", {VerifyOnly(4 * kGiB - 32 * kMiB)}, nullptr, Free(4 * kGiB),
       VerdictKind::kOk, StopReason::kNone},
      {"errors below the limit", {Full(kGiB, 92)}, nullptr, Free(4 * kGiB), VerdictKind::kFailed, StopReason::kNone},
      {"a partial test with errors fails", {Full(kGiB, 1)}, nullptr, Free(8 * kGiB), VerdictKind::kFailed,
       StopReason::kNone},
      {"errors in a method-test variant only", {MethodVariant(3), Full(kGiB)}, nullptr, Free(kGiB),
       VerdictKind::kFailed, StopReason::kNone},
      {"the error limit", {Stopped(Full(kGiB), StopReason::kErrorLimit, 300 * kMiB, 500)}, &wraps, Free(kGiB),
       VerdictKind::kFailed, StopReason::kErrorLimit},
      {"a failed read", {Stopped(Full(kGiB), StopReason::kIoFailure, 0)}, nullptr, Free(kGiB), VerdictKind::kFailed,
       StopReason::kIoFailure},
      {"bad blocks the diagnosis found", {Full(kGiB)}, &wraps, Free(kGiB), VerdictKind::kFailed, StopReason::kNone},
      {"stopped by the user", {Stopped(Full(kGiB), StopReason::kUser, 300 * kMiB)}, nullptr, Free(kGiB),
       VerdictKind::kUnfinished, StopReason::kUser},
      {"stopped by the user after errors: they stand", {Stopped(Full(kGiB), StopReason::kUser, 300 * kMiB, 7)},
       nullptr, Free(kGiB), VerdictKind::kFailed, StopReason::kNone},
      {"the drive went away, though the rows count errors",
       {Stopped(Full(kGiB), StopReason::kDriveGone, 300 * kMiB, 40)}, &wraps, Free(kGiB), VerdictKind::kUnfinished,
       StopReason::kDriveGone},
      {"the drive went away between two jobs", {Full(kGiB)}, nullptr, With(Free(4 * kGiB), StopReason::kDriveGone),
       VerdictKind::kUnfinished, StopReason::kDriveGone},
      {"the session ended", {Stopped(Full(kGiB), StopReason::kSessionEnd, 0)}, nullptr, Free(kGiB),
       VerdictKind::kUnfinished, StopReason::kSessionEnd},
      {"a file-system limit", {Stopped(Full(kGiB), StopReason::kFileSystemLimit, 0)}, nullptr, Free(kGiB),
       VerdictKind::kUnfinished, StopReason::kFileSystemLimit},
      {"a file another program held", {Stopped(Full(kGiB), StopReason::kFileHeld, 0)}, nullptr, Free(kGiB),
       VerdictKind::kUnfinished, StopReason::kFileHeld},
      {"a file saved during the run that never ended", {Stopped(Full(kGiB), StopReason::kNone, 0)}, nullptr,
       With(Free(kGiB), StopReason::kNone, false), VerdictKind::kUnfinished, StopReason::kNone},
      {"not final, though its rows read OK", {Full(kGiB)}, nullptr, With(Free(kGiB), StopReason::kNone, false),
       VerdictKind::kUnfinished, StopReason::kNone},
      {"a method test stopped before the full test", {MethodVariant(0)}, nullptr, With(Free(kGiB), StopReason::kUser),
       VerdictKind::kUnfinished, StopReason::kUser},
      {"no rows", {}, nullptr, Free(kGiB), VerdictKind::kUnfinished, StopReason::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Verdict v = JudgeRun(c.records, c.diagnosis, c.facts);
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.reason, c.reason);
    // One reliability figure: all for a good check, nothing for a failed medium, none without a
    // finished check.
    switch (v.kind) {
      case VerdictKind::kOk:
      case VerdictKind::kOkPartial: EXPECT_EQ(v.reliability, 100.0); break;
      case VerdictKind::kFailed: EXPECT_EQ(v.reliability, 0.0); break;
      case VerdictKind::kUnfinished: EXPECT_FALSE(v.reliability.has_value()); break;
    }
  }
}

TEST(JudgeRun, Figures) {
  // A fake ended by errors: its speed is still what the medium did, and its usable capacity the
  // diagnosis's.
  const Diagnosis wraps = Wrapping(256 * kMiB);
  ResultRecord fake = Stopped(Full(992 * kMiB), StopReason::kErrorLimit, 992 * kMiB, 92);
  const Verdict failed = JudgeRun({fake}, &wraps, Free(4 * kGiB));
  EXPECT_DOUBLE_EQ(failed.mbPerSecond, 2 * 992 / 10.0);
  EXPECT_EQ(failed.usableBytes, 256 * kMiB);
  EXPECT_EQ(failed.errors, 92u);

  const Verdict partial = JudgeRun({Full(kGiB)}, nullptr, Free(4 * kGiB, kGiB));
  EXPECT_EQ(partial.wholeBytes, 3 * kGiB - 32 * kMiB);
  EXPECT_EQ(partial.checkedBytes, kGiB);
  EXPECT_EQ(PartialTestText(partial),
            L"Geprüft wurden 1.0 GB von 3.0 GB freiem Speicher (33.68%), der Rest wurde nicht geprüft. Ob das "
            L"Medium seine Kapazität wirklich hat, zeigt nur ein Test des ganzen freien Speichers.");
  EXPECT_EQ(PartialTestText(JudgeRun({Full(kGiB)}, nullptr, Free(kGiB + 32 * kMiB))), L"");

  // A partial diagnosis cannot tell the usable capacity.
  Diagnosis unsure = wraps;
  unsure.partial = true;
  EXPECT_FALSE(JudgeRun({fake}, &unsure, Free(4 * kGiB)).usableBytes.has_value());
}

TEST(UntestedSpaceText, NamesWhatTheTestLeftOut) {
  const struct {
    const char* what;
    std::vector<ResultRecord> records;
    RunFacts facts;
    const wchar_t* text;
  } cases[] = {
      {"sized to the free space", {Full(224 * kMiB)}, Free(256 * kMiB),
       L"Frei vor dem Test: 256.0 MB, getestet: 224.0 MB; nicht getestet: 32.0 MB Sicherheitspuffer."},
      {"a reserve and a chosen amount", {Full(kGiB)}, Free(4 * kGiB, kGiB),
       L"Frei vor dem Test: 4.0 GB, getestet: 1.0 GB; nicht getestet: 1.0 GB Rest frei (Einstellung), "
       L"32.0 MB Sicherheitspuffer, 2.0 GB außerhalb der Testmenge."},
      {"a failed medium too", {Stopped(Full(992 * kMiB), StopReason::kErrorLimit, 992 * kMiB, 92)}, Free(kGiB),
       L"Frei vor dem Test: 1.0 GB, getestet: 992.0 MB; nicht getestet: 32.0 MB Sicherheitspuffer."},
      {"a block lost to rounding is buffer", {Full(223 * kMiB)}, Free(256 * kMiB),
       L"Frei vor dem Test: 256.0 MB, getestet: 223.0 MB; nicht getestet: 32.0 MB Sicherheitspuffer."},
      {"the whole free space", {Full(kGiB)}, Free(kGiB), L""},
      {"free space not known (an older file)", {Full(kGiB)}, RunFacts{}, L""},
      {"no rows", {}, Free(kGiB), L""},
      {"a run that did not end", {Stopped(Full(224 * kMiB), StopReason::kUser, 0)}, Free(256 * kMiB), L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(UntestedSpaceText(JudgeRun(c.records, nullptr, c.facts)), c.text);
  }
  const Verdict buffered = JudgeRun({Full(224 * kMiB)}, nullptr, Free(256 * kMiB));
  EXPECT_EQ(UntestedSpaceText(buffered, kLanguageFrench),
            L"Libre avant le test : 256.0 Mo, testé : 224.0 Mo ; non testé : 32.0 Mo de marge de sécurité.");
  // The summary, the report and its box say it in their language.
  EXPECT_NE(BuildResultSummary({Full(224 * kMiB)}, buffered).find(L"\r\n" + UntestedSpaceText(buffered)),
            std::wstring::npos);
  for (int language = 0; language < kLanguageCount; ++language) {
    const ResultReport report = BuildRunReport({Full(224 * kMiB)}, buffered, nullptr, nullptr, language);
    EXPECT_NE(report.body.find(UntestedSpaceText(buffered, language)), std::wstring::npos) << language;
  }
}

TEST(VerdictHeadOf, IconAndHeadPerOutcome) {
  const Diagnosis wraps = Wrapping(256 * kMiB);
  const struct {
    Verdict verdict;
    VerdictIcon icon;
    const wchar_t* title;
  } cases[] = {
      {JudgeRun({Full(kGiB)}, nullptr, Free(kGiB)), VerdictIcon::kInformation, L"IN ORDNUNG"},
      {JudgeRun({Full(kGiB)}, nullptr, Free(8 * kGiB)), VerdictIcon::kWarning, L"GEPRÜFTER TEIL IN ORDNUNG"},
      {JudgeRun({Full(kGiB, 3)}, &wraps, Free(kGiB)), VerdictIcon::kError, L"FEHLER GEFUNDEN"},
      {JudgeRun({Stopped(Full(kGiB), StopReason::kDriveGone, 0)}, nullptr, Free(kGiB)), VerdictIcon::kWarning,
       L"ABGEBROCHEN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(VerdictName(c.verdict.kind));
    const VerdictHead head = VerdictHeadOf(c.verdict);
    EXPECT_EQ(head.icon, c.icon);
    EXPECT_EQ(head.title, c.title);
    EXPECT_FALSE(head.text.empty());
    EXPECT_NE(VerdictHeadOf(c.verdict, kLanguageEnglish).title, head.title);
  }
  // A drive that went away is not blamed on the medium.
  const VerdictHead gone = VerdictHeadOf(cases[3].verdict);
  EXPECT_NE(gone.text.find(L"nichts über das Medium"), std::wstring::npos) << gone.text;
}

TEST(VerdictName, ResultsFileWords) {
  EXPECT_STREQ(VerdictName(VerdictKind::kOk), L"ok");
  EXPECT_STREQ(VerdictName(VerdictKind::kOkPartial), L"okPartial");
  EXPECT_STREQ(VerdictName(VerdictKind::kFailed), L"failed");
  EXPECT_STREQ(VerdictName(VerdictKind::kUnfinished), L"unfinished");
}

TEST(BuildResultSummary, TakesTheVerdict) {
  // A partial test says so; the reliability it shows is the verdict's.
  const Verdict partial = JudgeRun({Full(kGiB)}, nullptr, Free(4 * kGiB, kGiB));
  const std::wstring summary = BuildResultSummary({Full(kGiB)}, partial);
  EXPECT_NE(summary.find(L"Zuverlässigkeit 100.00%"), std::wstring::npos) << summary;
  EXPECT_NE(summary.find(L"\r\n" + PartialTestText(partial)), std::wstring::npos) << summary;
  // A file saved during a run that never ended claims no reliability, even with rows that read OK.
  const Verdict unfinished = JudgeRun({Full(kGiB)}, nullptr, With(Free(kGiB), StopReason::kNone, false));
  const std::wstring open = BuildResultSummary({Full(kGiB)}, unfinished);
  EXPECT_EQ(open.find(L"Zuverlässigkeit"), std::wstring::npos) << open;
  EXPECT_NE(open.find(L"Prüfung unvollständig"), std::wstring::npos) << open;
  // The speed is the medium's, after a stop by errors too.
  const ResultRecord fake = Stopped(Full(992 * kMiB), StopReason::kErrorLimit, 992 * kMiB, 92);
  const std::wstring failed = BuildResultSummary({fake}, JudgeRun({fake}, nullptr, Free(kGiB)));
  EXPECT_NE(failed.find(L"Zuverlässigkeit 0.00%"), std::wstring::npos) << failed;
  EXPECT_NE(failed.find(L"\u00D8 198.40 MB/s"), std::wstring::npos) << failed;
}

// The drive's name: as read, "ohne Namen" for a volume a run found without one, "unbekannt" only
// where a file from before the evidence keys cannot tell.
TEST(EvidenceLines, NameTheDriveAsTheRunFoundIt) {
  ResultsFileHeader older;
  older.driveRoot = L"E:\\";
  EXPECT_EQ(EvidenceLines(older)[0], L"Laufwerk: E:\\ (Name: unbekannt, Dateisystem: unbekannt)");
  EXPECT_EQ(EvidenceLines(older)[1], L"Kapazität: unbekannt, frei vor dem Test: unbekannt");
  ResultsFileHeader run = older;
  run.fileSystem = L"exFAT";
  run.capacityBytes = kGiB;
  run.freeBytes = kGiB;
  run.startedAt = L"2026-12-11 11:34:48.123";
  EXPECT_EQ(EvidenceLines(run)[0], L"Laufwerk: E:\\ (Name: ohne Namen, Dateisystem: exFAT)");
  EXPECT_EQ(EvidenceLines(run, kLanguageEnglish)[0], L"Drive: E:\\ (name: no name, file system: exFAT)");
  EXPECT_EQ(EvidenceLines(run)[2], L"Test begonnen: 2026-12-11 11:34:48");
  run.label = L"STICK";
  EXPECT_EQ(EvidenceLines(run)[0], L"Laufwerk: E:\\ (Name: STICK, Dateisystem: exFAT)");
}

}  // namespace
}  // namespace velkor
