// What a run says about its medium, decided once from its records, its diagnosis and how it
// ended. Every output (status line, summary, report and its box, taskbar, results file, exports,
// PDF, velkor-cli's exit code and table) shows this verdict and its figures, never one of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/localization.h"
#include "results/diagnosis.h"
#include "results/result_record.h"

namespace velkor {

enum class VerdictKind : uint8_t {
  kOk,          // the whole free space was written and read back without an error
  kOkPartial,   // the part tested is good; the rest of the free space was not checked
  kFailed,      // the medium's errors: a fake or a failing medium
  kUnfinished,  // the run did not end its check, without the medium being to blame
};

// "ok", "okPartial", "failed", "unfinished": the results file's words.
const wchar_t* VerdictName(VerdictKind kind);

// A test sized to the free space leaves this much of it untested (not the preflight's business).
inline constexpr uint64_t kFreeSpaceSafetyBuffer = 33554432ULL;

// How a run ended and what it could have covered, beside its records.
struct RunFacts {
  StopReason stop = StopReason::kNone;  // the run's own; kNone lets the records' reasons count
  uint64_t freeBytes = 0;     // free before the test, a kept run's test files counted as free; 0: not known
  uint64_t reserveBytes = 0;  // what the run was told to leave free
  bool final = true;          // false: a file saved during the run, which never ended
};

struct Verdict {
  VerdictKind kind = VerdictKind::kUnfinished;
  // Unfinished: why (kNone for a run that never came to its end, or read nothing back).
  // Failed: kErrorLimit or kIoFailure when those ended it, else kNone.
  StopReason reason = StopReason::kNone;
  bool verifyOnly = false;     // the rows checked files an earlier run wrote
  uint64_t plannedBytes = 0;   // the full test's (or verify-only's) planned amount
  uint64_t writtenBytes = 0;
  uint64_t checkedBytes = 0;   // read back from the medium and compared
  uint64_t errors = 0;         // of every row, method-test rows included
  std::optional<uint64_t> usableBytes;   // intact capacity: what was checked, or the diagnosis's estimate
  std::optional<double> reliability;     // percent: 100 for a good check, 0 for a failed medium, none otherwise
  double mbPerSecond = 0.0;    // bytes written and read back over the time taken; 0 when none was measured
  double seconds = 0.0;
  uint64_t wholeBytes = 0;     // what a test of the whole free space covers; 0 when not known
  uint64_t freeBytes = 0;      // RunFacts' free space before the test; 0 when not known
  uint64_t reserveBytes = 0;   // RunFacts' reserve
  uint64_t roundingBytes = 0;  // what rounding the files to whole blocks may leave untested
};

// The verdict of a run. Errors anywhere (or a stop by them, or a diagnosis of bad blocks) fail
// the medium, unless the drive went away: that run is unfinished, and nothing it read is blamed
// on the medium. A check that did not read everything back is unfinished; a good check of less
// than the whole free space (freeBytes less the reserve and kFreeSpaceSafetyBuffer, allowing a
// block per file for rounding) is partial. diagnosis may be null.
Verdict JudgeRun(const std::vector<ResultRecord>& records, const Diagnosis* diagnosis, const RunFacts& facts);

// The reason the run ended: facts' own, else the first a row carries, else kUser for a row that
// says it was cancelled.
StopReason RunStopReason(const std::vector<ResultRecord>& records, StopReason runStop);

// What the report's box shows with the verdict: its icon and its head line.
enum class VerdictIcon : uint8_t { kInformation, kWarning, kError };
struct VerdictHead {
  VerdictIcon icon = VerdictIcon::kInformation;
  std::wstring title;  // e.g. "FEHLER GEFUNDEN"
  std::wstring text;   // one sentence or two: what the outcome means
};
VerdictHead VerdictHeadOf(const Verdict& verdict, int language = kLanguageGerman);

// The partial test's sentence ("Geprüft wurden ... der Rest wurde nicht geprüft ..."); empty for a
// verdict that is not partial.
std::wstring PartialTestText(const Verdict& verdict, int language = kLanguageGerman);

// What of the free space before the test the test left out, and why ("Frei vor dem Test: 256.0 MB,
// getestet: 224.0 MB; nicht getestet: 32.0 MB Sicherheitspuffer."): the reserve, the safety
// buffer and the rest outside the test amount. Empty where the free space is not known, the test
// covered it, or the run did not end.
std::wstring UntestedSpaceText(const Verdict& verdict, int language = kLanguageGerman);

// The summary line of a run (see BuildResultSummary), with the verdict's reliability and speed and,
// for a partial test, its sentence.
std::wstring BuildResultSummary(const std::vector<ResultRecord>& records, const Verdict& verdict,
                                int language = kLanguageGerman);

}  // namespace velkor
