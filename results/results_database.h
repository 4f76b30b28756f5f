// The results database: one JSON file ("velkor-results-v1") per run in the results folder,
// rewritten as a whole after every job and marked final at the end. The loader reads the file by
// its JSON structure with any white space, checks the type and range of every value it knows and
// refuses a file where one does not fit; it accepts any input without harm. Functions take and return record lists; which list a window shows is the window's business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"
#include "results/diagnosis.h"
#include "results/result_record.h"
#include "results/verdict.h"

namespace velkor {

// What a results file tells about its run beside the records. The defaults are those of a run
// nobody configured (an export of records without a file behind them).
struct ResultsFileHeader {
  std::wstring driveRoot;
  std::wstring fileSystem;
  uint64_t testSize = 1073741824;
  uint64_t reserveFree = 1073741824;
  uint32_t testPoints = 3;
  // The evidence of the run and the facts its verdict needs; files from before them lack them.
  std::wstring label;          // the volume's name
  uint64_t capacityBytes = 0;  // the size the drive claims; 0: not known
  uint64_t freeBytes = 0;      // free before the test (RunFacts::freeBytes); 0: not known
  std::wstring startedAt;      // local time the run began, MakeLogTimestamp's format
  StopReason stopReason = StopReason::kNone;  // the run's own
  bool final = true;           // as read; BuildResultsJson takes its own
};

// What the verdict needs of a file's header.
RunFacts RunFactsOf(const ResultsFileHeader& header);

// Files larger than this are not read (64 MiB; exactly 64 MiB is read).
inline constexpr uint64_t kMaxResultsFileBytes = 67108864;

// Where results files go from now on (velkor-cli's --results-dir); empty returns to the default,
// GetResultsDirectory(). Thread-safe.
void SetResultsFolder(const std::wstring& folder);

// The results folder in force, created if missing.
std::wstring GetResultsFolder();

// folder + "<yyyymmdd-hhmmss>-<sanitized drive root>-velkor.json", e.g.
// "20250203-090500-E__-velkor.json". The first overload never returns an existing file: a second
// run on one drive in the same second gets "-2", "-3", ... before ".json".
std::wstring MakeResultsFilePath(const std::wstring& driveRoot);  // GetResultsFolder(), now
std::wstring MakeResultsFilePath(const std::wstring& driveRoot, const std::wstring& folder,
                                 const platform::LocalTime& time);

// The whole file text: LF line ends, one record object per line, no trailing blanks; after the
// records the run's "diagnosis" (when present) and "speedCurve" (when measured), if run is given,
// and last the run's "verdict" (JudgeRun of the records, run's diagnosis and the header's facts).
std::wstring BuildResultsJson(const ResultsFileHeader& header, const std::vector<ResultRecord>& records,
                              bool final, const RunDiagnosis* run = nullptr);

// Writes BuildResultsJson to path, replacing the file in one step (through path + ".tmp"), so a
// failed save leaves the previous version as it was. Does nothing for an empty path. Callers
// ignore the result during a run (a failed save must not stop a test); it is there for tests.
bool SaveResultsFile(const std::wstring& path, const ResultsFileHeader& header,
                     const std::vector<ResultRecord>& records, bool final, const RunDiagnosis* run = nullptr);

// The records of a results file's text, with any white space between its tokens. False (records
// untouched) when the text has no "results" key, or when a value of a known key, the file's own or
// a record's, is not of its type and range, a known key comes twice, or the list does not end:
// *problem (when given) then names the key, the record and the value, or what is missing (empty
// for a text without "results"). Objects without a method are skipped; a record's missing key
// reads as 0, false or empty text; file-level values are only checked.
bool ParseResultsText(const std::wstring& text, std::vector<ResultRecord>* records, std::wstring* problem = nullptr);

// The file-level values of a results file's text (drive, file system, test size, reserve, test
// points, final and the run's evidence where the file has it), with any white space. False, header
// untouched, when the text has no "drive" key of its own (a record's does not count). A value of
// the wrong type reads as missing: ParseResultsText is what refuses such a file.
bool ParseResultsHeader(const std::wstring& text, ResultsFileHeader* header);

// ReadUtf8TextFile, then ParseResultsHeader.
bool LoadResultsHeader(const std::wstring& path, ResultsFileHeader* header);

// ReadUtf8TextFile, then ParseResultsText and, when run is given, ParseRunDiagnosis. False, records
// and run untouched, for a missing, unreadable, empty or over-large file or one ParseResultsText
// refuses; LastError then holds the reason, 0 for a file that was read but is none, and *problem
// ParseResultsText's.
bool LoadResultsFile(const std::wstring& path, std::vector<ResultRecord>* records, RunDiagnosis* run = nullptr,
                     std::wstring* problem = nullptr);

// Reads a whole UTF-8 file of at most kMaxResultsFileBytes; malformed sequences become U+FFFD and
// a byte-order mark stays as U+FEFF. False for a missing, unreadable, empty or over-large file.
bool ReadUtf8TextFile(const std::wstring& path, std::wstring* text);

// Full paths of every *.json file in the folder (also files this program did not write), sorted
// by plain code-unit order, so the time-stamped names come oldest first.
std::vector<std::wstring> ListSavedResultFiles();  // GetResultsFolder()
std::vector<std::wstring> ListSavedResultFiles(const std::wstring& folder);

// Index to select in such a list: the first path equal to pathToSelect ignoring case, else the
// last (newest) one; -1 for an empty list.
int SavedResultSelection(const std::vector<std::wstring>& paths, const std::wstring& pathToSelect);

}  // namespace velkor
