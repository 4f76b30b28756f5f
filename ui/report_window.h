// The result report after a run, the export command and the save dialog they share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "results/result_record.h"

namespace velkor {

// The save dialog for an export format; empty when cancelled.
std::wstring AskExportPath(HWND owner, uint32_t formatIndex);
// Exports CurrentResults in the chosen format.
void ExportResults(HWND main);
// Shows the report of a finished run; Yes saves exactly the shown text.
void ShowResultReport(HWND main, const std::vector<ResultRecord>& rows);

}  // namespace velkor
