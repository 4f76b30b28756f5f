// libFuzzer target: the results-file loader on any bytes, as ReadUtf8TextFile hands them over.
// Beyond not crashing: whatever loads, saved and loaded again, stays the same on a second trip
// (the first trip may round numbers to two decimals); the same for the run's diagnosis and speed
// curve. The header's values come back exactly (texts, numbers, the stop reason), and the verdict
// written is the one judged from what was read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/format.h"
#include "platform/text.h"
#include "results/results_database.h"

namespace {

using velkor::ResultRecord;

std::vector<ResultRecord> Trip(const std::vector<ResultRecord>& records) {
  std::vector<ResultRecord> again;
  if (!velkor::ParseResultsText(velkor::BuildResultsJson(velkor::ResultsFileHeader{}, records, true), &again)) abort();
  return again;
}

bool Same(const ResultRecord& a, const ResultRecord& b) {
  return a.method == b.method && a.workers == b.workers && a.blockSize == b.blockSize && a.bytes == b.bytes &&
         velkor::FormatDecimal2(a.mbPerSecond) == velkor::FormatDecimal2(b.mbPerSecond) &&
         velkor::FormatDecimal2(a.seconds) == velkor::FormatDecimal2(b.seconds) && a.verified == b.verified &&
         a.errors == b.errors && a.cancelled == b.cancelled && a.recommended == b.recommended;
}

velkor::RunDiagnosis TripDiagnosis(const std::vector<ResultRecord>& records, const velkor::RunDiagnosis& run) {
  return velkor::ParseRunDiagnosis(velkor::BuildResultsJson(velkor::ResultsFileHeader{}, records, true, &run));
}

bool SameDiagnosis(const velkor::RunDiagnosis& a, const velkor::RunDiagnosis& b) {
  const velkor::Diagnosis& x = a.diagnosis;
  const velkor::Diagnosis& y = b.diagnosis;
  return x.present == y.present && (!x.present || (x.usableBytes == y.usableBytes && x.cells == y.cells &&
                                                   x.finding == y.finding && x.checked == y.checked)) &&
         a.speedCurve.write == b.speedCurve.write && a.speedCurve.read == b.speedCurve.read;
}

bool SameHeader(const velkor::ResultsFileHeader& a, const velkor::ResultsFileHeader& b) {
  return a.driveRoot == b.driveRoot && a.fileSystem == b.fileSystem && a.testSize == b.testSize &&
         a.reserveFree == b.reserveFree && a.testPoints == b.testPoints && a.label == b.label &&
         a.capacityBytes == b.capacityBytes && a.freeBytes == b.freeBytes && a.startedAt == b.startedAt &&
         a.stopReason == b.stopReason && a.final == b.final;
}

void TripHeader(const std::wstring& text, const std::vector<ResultRecord>& records, const velkor::RunDiagnosis& run) {
  velkor::ResultsFileHeader header;
  if (!velkor::ParseResultsHeader(text, &header)) return;
  const std::wstring written = velkor::BuildResultsJson(header, records, header.final, &run);
  velkor::ResultsFileHeader again;
  if (!velkor::ParseResultsHeader(written, &again) || !SameHeader(header, again)) abort();
  const velkor::Verdict verdict = velkor::JudgeRun(records, &run.diagnosis, velkor::RunFactsOf(header));
  const std::wstring word = L"\"verdict\": \"" + std::wstring(velkor::VerdictName(verdict.kind)) + L"\"";
  if (written.find(word) == std::wstring::npos) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text =
      velkor::platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<ResultRecord> records;
  if (!velkor::ParseResultsText(text, &records)) return 0;
  const std::vector<ResultRecord> once = Trip(records);
  const std::vector<ResultRecord> twice = Trip(once);
  // Only records with a method are kept, and the writer never drops one.
  if (once.size() != records.size() || twice.size() != once.size()) abort();
  for (size_t i = 0; i < once.size(); ++i) {
    if (once[i].method != records[i].method || !Same(once[i], twice[i])) abort();
  }
  const velkor::RunDiagnosis run = velkor::ParseRunDiagnosis(text);
  const velkor::RunDiagnosis first = TripDiagnosis(records, run);
  if (!SameDiagnosis(first, TripDiagnosis(records, first))) abort();
  TripHeader(text, records, run);
  return 0;
}
