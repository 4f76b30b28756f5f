// One job's result: a method-test variant, a full-test file or a verify-only file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

struct ResultRecord {
  std::wstring method;          // access-type text, with " (Volltest)" / " (nur prüfen)" for those jobs
  uint32_t workers = 1;
  uint32_t blockSize = 1048576;  // bytes
  uint64_t bytes = 0;           // planned size of the job
  double mbPerSecond = 0.0;     // MiB/s; 0 when cancelled or with errors
  double seconds = 0.0;         // wall time, write and verify together
  uint64_t errors = 0;
  bool verified = false;        // the job's access type asks for a verify stage
  bool cancelled = false;
  bool recommended = false;
};

// "Empfehlung", "abgebrochen", "Fehler" or "OK", first match in that order. These fixed German
// texts go into results files and exports in every interface language.
std::wstring ResultText(const ResultRecord& record);

// A full-test or verify-only record (method contains "Volltest" or "nur prüfen"), as opposed to a
// method-test variant.
bool IsFullOrVerifyRecord(const ResultRecord& record);

// The "Zusammenfassung: ..." line over a run's records: written and read-back amounts, errors,
// reliability and the byte-weighted mean speed of the full-test and verify-only records, plus a
// second line (after CR LF) with the last recommended record.
std::wstring BuildResultSummary(const std::vector<ResultRecord>& records);

// The fastest uncancelled error-free record with a speed above 0; a verified record counts
// 0.001 MB/s more; the earlier wins a tie. -1 when none qualifies.
int32_t FindFastestResult(const std::vector<ResultRecord>& records);

}  // namespace velkor
