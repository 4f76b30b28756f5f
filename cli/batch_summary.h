// The end of a velkor-cli run over several targets: one row per target with its verdict, the table
// on the console, the same as JSON, and the exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/localization.h"
#include "results/diagnosis.h"
#include "results/result_record.h"
#include "results/verdict.h"

namespace velkor {

enum class BatchVerdict : uint8_t {
  kOk,       // the whole free space written and read back without an error
  kOkPartial,  // what was planned is good, but it was less than the free space
  kErrors,   // the medium's errors: mismatches, failed reads or writes
  kStopped,  // ended early without the medium's fault: Ctrl-C, the drive gone, a file-system limit
  kRefused,  // never ran: not found, write-protected, the system drive, a question answered No, a
             // failed preflight
};

// "OK", "OK (Teiltest)", "Fehler", "gestoppt", "abgelehnt": --summary-json's words.
const wchar_t* BatchVerdictText(BatchVerdict verdict);
// The same word in language, as the terminal shows it.
std::wstring BatchVerdictWord(BatchVerdict verdict, int language);

// A row's German reason as the terminal shows it: in CurrentLanguage where the text table knows it
// (a refusal's reason without its "Fehler: " lead too), else as it is.
std::wstring ShownReason(const std::wstring& reason);

// "Fehler: " and a German reason, in CurrentLanguage.
std::wstring ErrorLine(const std::wstring& reason);

struct BatchRow {
  std::wstring target;
  std::wstring label;       // empty where the target was never described
  std::wstring fileSystem;
  std::wstring device;      // QueryPhysicalDevice's name
  uint64_t sizeBytes = 0;   // the volume's size; 0 where the target was never described
  bool ran = false;         // the run got past its preflight: the figures below are its own
  bool verifyOnly = false;  // verify: nothing written
  uint64_t writtenBytes = 0;
  uint64_t verifiedBytes = 0;
  uint64_t errors = 0;
  std::optional<uint64_t> usableBytes;
  std::optional<double> writeMbPerSecond;
  std::optional<double> readMbPerSecond;
  BatchVerdict verdict = BatchVerdict::kRefused;
  StopReason stopReason = StopReason::kNone;
  std::wstring reason;       // why it was refused, or how it ended when not OK; one line
  std::wstring resultsFile;  // empty where it never ran or its results file could not be saved
  bool resultsSaved = true;  // false: the run's results file could not be written
};

// Fills the row's figures and verdict from a run that got past its preflight, from the run's
// verdict: amounts, errors and usable capacity are the verdict's; the write and read speeds the
// full test's (or verify-only's) records'. The first form judges the records without the free
// space (runStop is the CurrentStopReason of the run's state).
void FillRowFromRun(const std::vector<ResultRecord>& records, const Verdict& verdict, StopReason runStop,
                    BatchRow* row);
void FillRowFromRun(const std::vector<ResultRecord>& records, StopReason runStop, BatchRow* row);

// The usable capacity of a run that found bad blocks: the diagnosis's estimate, none where the
// diagnosis could not tell (a check that ended early without a sample). Without a diagnosis the
// row keeps what FillRowFromRun gave it.
void TakeDiagnosis(const Diagnosis& diagnosis, BatchRow* row);

// A refusal or failure message as a row's reason: without a leading "Fehler: ", which the verdict
// already says.
std::wstring ReasonOf(const std::wstring& message);

// 0 when every target is OK (a partial test included); 130 after Ctrl-C; else 1 when any found errors or stopped early;
// else 2 (one was refused, or a results file could not be saved).
int BatchExitCode(const std::vector<BatchRow>& rows, bool interrupted);

// The table, one line per target under a heading, columns apart by two blanks; "–" where a
// figure does not exist. Headings and verdicts in language.
std::wstring BatchTableText(const std::vector<BatchRow>& rows, int language = kLanguageGerman);

// The rows as a JSON document (LF line ends): command ("test" or "verify"), the exit code, whether
// Ctrl-C stopped the runs, and per target the table's values (null where the table shows "–").
std::wstring BatchSummaryJson(const std::vector<BatchRow>& rows, const std::wstring& command, int exitCode,
                              bool interrupted);

}  // namespace velkor
