// The German report shown after a test run, which the user may save as a text file.
#pragma once

#include <string>
#include <vector>

#include "results/result_record.h"

namespace velkor {

// Caption of the report's message box.
inline constexpr wchar_t kResultReportCaption[] = L"Velkor Ergebnis";

// The report: its body (CR LF line ends, each line ended) and the question of the window's box
// ("Ja = ... Nein = nur schließen.", no line end after it). The box shows BoxText.
struct ResultReport {
  std::wstring body;
  std::wstring prompt;
};

// records are the run's rows in list order (after the window's sort); runStopRequested is the stop
// flag of the run's state (false when there is none). A run counts as stopped when that flag is
// set or any row is cancelled; a stopped report names no fastest variant and no recommendation.
ResultReport BuildResultReport(const std::vector<ResultRecord>& records, bool runStopRequested);

// The body, an empty line and the prompt: the text of the window's report box.
std::wstring ReportBoxText(const ResultReport& report);

}  // namespace velkor
