// One job's result: a method-test variant, a full-test file or a verify-only file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/localization.h"

namespace velkor {

// Why a job, or a whole run, ended before its end. The first reason given wins.
enum class StopReason : uint8_t {
  kNone = 0,         // it ran to its end
  kUser,             // the Stop command, closing the window, Ctrl-C
  kDriveGone,        // the target drive was pulled or replaced
  kErrorLimit,       // data mismatches reached the error limit
  kIoFailure,        // opening, reading, writing or flushing a test file failed
  kFileSystemLimit,  // the file system refused a file that large: not the medium's fault
  kFileHeld,         // another program (a virus scanner, the indexer) kept a test file: not the medium's fault
  kSessionEnd,       // Windows ended the session (shutdown, logoff, update restart) during the run
};

// The medium failed: the error limit or an I/O failure ended it.
bool IsStopByErrors(StopReason reason);

// A stop the medium is not to blame for (the user, a drive that went, a file-system limit, a file
// another program held, the end of the session): what a record's `cancelled` says.
bool IsCancelStop(StopReason reason);

// "none", "user", "driveGone", "errorLimit", "ioFailure", "fileSystemLimit", "fileHeld",
// "sessionEnd": the results file's words.
const wchar_t* StopReasonName(StopReason reason);

// The reason a word names; kNone for any other text.
StopReason StopReasonFromName(const std::wstring& name);

struct ResultRecord {
  std::wstring method;          // access-type text, with " (Volltest)" / " (nur prüfen)" for those jobs
  uint32_t workers = 1;
  uint32_t blockSize = 1048576;  // bytes
  uint64_t bytes = 0;           // planned size of the job
  double mbPerSecond = 0.0;     // MiB/s; 0 when stopped or with errors
  double seconds = 0.0;         // wall time, write and verify together
  uint64_t errors = 0;
  bool verified = false;        // the whole planned amount was read back and compared
  bool cancelled = false;       // stopped by a cancel stop (IsCancelStop), not by the medium's errors
  bool recommended = false;
  uint64_t writtenBytes = 0;    // bytes actually written (0 for a verify-only job)
  uint64_t verifiedBytes = 0;   // bytes actually read back from the medium and compared
  StopReason stopReason = StopReason::kNone;  // why the job did not run to its end
  // The parts of seconds: writing (with the flush) and reading back. Measured by the run, not
  // kept in results files (a loaded record has 0).
  double writeSeconds = 0.0;
  double verifySeconds = 0.0;
};

// "Empfehlung", "abgebrochen", "Fehler" or "OK", first match in that order ("Fehler" for any error
// and for a job the medium's errors stopped). These fixed German texts go into results files and
// exports in every interface language.
std::wstring ResultText(const ResultRecord& record);

// The job found errors, or the medium's errors ended it before its end.
bool HasErrorVerdict(const ResultRecord& record);

// A full-test or verify-only record (method contains "Volltest" or "nur prüfen"), as opposed to a
// method-test variant.
bool IsFullOrVerifyRecord(const ResultRecord& record);

// The "Zusammenfassung: ..." line over a run's records: the amounts actually written and read back,
// errors, reliability and the byte-weighted mean speed of the full-test and verify-only records,
// plus a second line (after CR LF) with the last recommended record. Reliability is 100 % only for
// a check that read everything back without an error; a check that stopped early says so
// (", Prüfung unvollständig") instead of a reliability of its own.
// The window shows it in its language; files keep the German text.
std::wstring BuildResultSummary(const std::vector<ResultRecord>& records, int language = kLanguageGerman);

// A method text ("Zuverlässig (Volltest)") with its profile name and job kind in language; parts
// the table does not know stay as they are.
std::wstring LocalizeMethodText(const std::wstring& method, int language);

// The fastest error-free record with a speed above 0 that ran to its end; a verified record counts
// 0.001 MB/s more; the earlier wins a tie. -1 when none qualifies.
int32_t FindFastestResult(const std::vector<ResultRecord>& records);

}  // namespace velkor
