// The German report shown after a test run, which the user may save as a text file.
#pragma once

#include <string>
#include <vector>

#include "results/result_record.h"

namespace velkor {

// Caption of the report's message box.
inline constexpr wchar_t kResultReportCaption[] = L"Velkor Ergebnis";

// The whole report text with CR LF line ends, closing prompt ("Ja = ... Nein = nur schließen.")
// included, without a line end after it. records are the run's rows in list order (after the
// window's sort); runStopRequested is the stop flag of the run's state (false when there is
// none). A run counts as stopped when that flag is set or any row is cancelled; a stopped report
// names no fastest variant and no recommendation.
std::wstring BuildResultReport(const std::vector<ResultRecord>& records, bool runStopRequested);

}  // namespace velkor
