#include "ui/report_window.h"

#include <commdlg.h>

#include <algorithm>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/paths.h"
#include "pdf/file_writers.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "results/results_database.h"
#include "ui/lists.h"
#include "ui/task_dialog.h"
#include "ui/window_state.h"

namespace velkor {
namespace {

constexpr DWORD kLongestPath = 32768;

// The JSON export's file-level fields: those of the results file the rows came from; without
// one, the selected drive and the rest as for a run nobody set up.
ResultsFileHeader ExportHeader() {
  ResultsFileHeader header;
  const std::wstring& path = Ui().currentResultsPath;
  if (!path.empty() && LoadResultsHeader(path, &header)) return header;
  header.driveRoot = GetSelectedDriveRoot();
  return header;
}

}  // namespace

std::wstring AskExportPath(HWND owner, uint32_t formatIndex) {
  if (formatIndex >= kExportFormatCount) formatIndex = kExportCsv;
  const ExportFormat& format = kExportFormats[formatIndex];
  const std::wstring filter = ExportDialogFilter(formatIndex);
  const std::wstring folder = GetExportsDirectory();
  const std::wstring proposed = MakeExportFileName(format.extension);
  // Room for the longest path the system allows, not only 260 characters.
  std::wstring buffer(kLongestPath, L'\0');
  proposed.copy(buffer.data(), kLongestPath - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = kLongestPath;
  dialog.lpstrInitialDir = folder.c_str();
  const std::wstring title = Translate(L"dialog_save_export");
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = format.extension;
  // The process keeps no folder of a stick open: "Safely remove" must not find one.
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return L"";
  return buffer.c_str();
}

void ExportResults(HWND main) {
  WindowState& ui = Ui();
  if (ui.controlsLocked) return;
  const std::wstring caption = Translate(L"export_button");
  if (ui.currentResults.empty()) {
    MessageBoxW(main, Translate(L"export_empty").c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  const uint32_t index = static_cast<uint32_t>(std::max(0, ChoiceSelection(kCtlExportBox)));
  const std::wstring path = AskExportPath(main, index);
  if (path.empty()) return;
  if (WriteExport(index, path, ui.currentResults, ExportHeader(), &ui.currentDiagnosis, CurrentLanguage)) {
    // The log keeps German; the status line tells the user in the chosen language.
    AppendDiagLog(TranslateIn(L"export_done", kLanguageGerman) + path);
    SetText(kCtlStatusLine, Translate(L"export_done") + path);
  } else {
    MessageBoxW(main, Translate(L"box_export_failed").c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
  }
}

void ShowResultReport(HWND main, const std::vector<ResultRecord>& rows) {
  if (rows.empty()) return;
  const StopReason stop = Ui().run ? CurrentStopReason(*Ui().run) : StopReason::kNone;
  // The box in the chosen language; "Ja" saves the report it showed, without the box's question.
  const ResultReport report = BuildResultReport(rows, stop, &Ui().currentDiagnosis.diagnosis, CurrentLanguage);
  const int answer = AskTaskDialog(main, Translate(L"report_title"), ReportBoxText(report), TD_INFORMATION_ICON,
                                   {{IDYES, Translate(L"button_save_report")}, {IDNO, Translate(L"button_close")}},
                                   IDNO, IDNO);
  if (answer != IDYES) return;
  const std::wstring path = AskExportPath(main, kExportFormattedText);
  if (path.empty()) return;
  if (WriteUtf8File(path, report.body)) {
    AppendDiagLog(TranslateIn(L"export_done", kLanguageGerman) + path);
    SetText(kCtlStatusLine, Translate(L"export_done") + path);
  }
}

}  // namespace velkor
