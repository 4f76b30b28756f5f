// The result report after a run, the export command and the save dialog they share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "results/exports.h"
#include "results/result_record.h"
#include "results/verdict.h"

namespace velkor {

// The save dialog for one format (the report); empty when cancelled. A name that says another
// format gets this one's extension appended.
std::wstring AskExportPath(HWND owner, uint32_t formatIndex);
// The save dialog with every export format, formatIndex chosen first; false when cancelled. The
// chosen type and the name decide the format (ResolveExportTarget).
bool AskExportTarget(HWND owner, uint32_t formatIndex, ExportTarget* target);
// Exports CurrentResults in the chosen format.
void ExportResults(HWND main);
// What the report box of the current results shows in language: the verdict's icon and head, and
// the whole text (the report with its question).
struct ReportBoxContent {
  VerdictHead head;
  std::wstring text;
};
ReportBoxContent ResultReportBox(int language);

// Shows the report of a finished run with the verdict's icon; Yes saves the report in German, as
// files keep it, without the box's question.
void ShowResultReport(HWND main, const std::vector<ResultRecord>& rows);

}  // namespace velkor
