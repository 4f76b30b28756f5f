#include "results/evidence.h"

#include "common/format.h"
#include "common/paths.h"
#include "common/version.h"

namespace velkor {

std::vector<std::wstring> EvidenceLines(const ResultsFileHeader& header, int language) {
  const std::wstring unknown = TranslateIn(L"evidence_unknown", language);
  const auto text = [&unknown](const std::wstring& value) { return value.empty() ? unknown : value; };
  const auto size = [&unknown](uint64_t bytes) { return bytes == 0 ? unknown : FormatByteSize(bytes); };
  // The time stamp to the second: the milliseconds of the log format say nothing here.
  const std::wstring started = header.startedAt.substr(0, header.startedAt.find(L'.'));
  // A run that recorded its drive read an empty label from it: the volume has no name.
  const std::wstring label = !header.label.empty()       ? header.label
                             : header.capacityBytes != 0 ? TranslateIn(L"no_name", language)
                                                         : unknown;
  return {
      FormatTextIn(L"evidence_drive", language, {text(header.driveRoot), label, text(header.fileSystem)}),
      FormatTextIn(L"evidence_space", language, {size(header.capacityBytes), size(header.freeBytes)}),
      FormatTextIn(L"evidence_started", language, {text(started)}),
      FormatTextIn(L"evidence_program", language, {L"" VELKOR_VERSION_TEXT}),
  };
}

std::wstring RunTitle(const ResultsFileHeader& header, const Verdict& verdict, int language) {
  if (header.driveRoot.empty()) return std::wstring();
  std::wstring title = header.driveRoot;
  if (!header.label.empty()) title += L" " + header.label;
  // "2026-12-11 05:32:36.123": to the minute.
  if (header.startedAt.size() >= 16) title += L" \u2013 " + header.startedAt.substr(0, 16);
  return title + L" \u2013 " + VerdictHeadOf(verdict, language).title;
}

std::wstring SavedRunTitle(const std::wstring& path, int language) {
  std::vector<ResultRecord> records;
  RunDiagnosis run;
  ResultsFileHeader header;
  std::wstring title;
  if (LoadResultsFile(path, &records, &run) && LoadResultsHeader(path, &header)) {
    title = RunTitle(header, JudgeRun(records, &run.diagnosis, RunFactsOf(header)), language);
  }
  return title.empty() ? FileNameOfPath(path) : title;
}

}  // namespace velkor
