#include "ui/report_window.h"

#include <commdlg.h>

#include <algorithm>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/paths.h"
#include "pdf/file_writers.h"
#include "platform/files.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "results/results_database.h"
#include "ui/lists.h"
#include "ui/task_dialog.h"
#include "ui/window_state.h"

namespace velkor {
namespace {

constexpr DWORD kLongestPath = 32768;

// The exports' file-level fields: those of the results file the rows came from; without one, the
// selected drive and the rest as for a run nobody set up.
ResultsFileHeader ExportHeader() {
  ResultsFileHeader header;
  const std::wstring& path = Ui().currentResultsPath;
  if (!path.empty() && LoadResultsHeader(path, &header)) return header;
  header.driveRoot = GetSelectedDriveRoot();
  return header;
}

}  // namespace

namespace {

// The save dialog over filter; the chosen name and the 1-based filter index, or an empty name.
std::wstring RunSaveDialog(HWND owner, const std::wstring& filter, DWORD filterIndex, const ExportFormat& format,
                           DWORD* chosenFilter) {
  const std::wstring folder = GetExportsDirectory();
  const std::wstring proposed = MakeExportFileName(format.extension);
  // Room for the longest path the system allows, not only 260 characters.
  std::wstring buffer(kLongestPath, L'\0');
  proposed.copy(buffer.data(), kLongestPath - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = filterIndex;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = kLongestPath;
  dialog.lpstrInitialDir = folder.c_str();
  const std::wstring title = Translate(L"dialog_save_export");
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = format.extension;
  // The process keeps no folder of a stick open: "Safely remove" must not find one.
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return L"";
  *chosenFilter = dialog.nFilterIndex;
  return buffer.c_str();
}

// The dialog asked about the name the user gave; a name the program corrected is asked about
// here, before an existing file of that name is replaced.
bool MayWrite(HWND owner, const std::wstring& typed, const std::wstring& path) {
  // Never over the results file the rows came from, whatever name leads there.
  platform::FileIdentity input, output;
  const std::wstring& results = Ui().currentResultsPath;
  if (!results.empty() && platform::QueryPathIdentity(results, &input) && platform::QueryPathIdentity(path, &output) &&
      input == output) {
    MessageBoxW(owner, FormatText(L"box_export_is_results", {path}).c_str(), Translate(L"dialog_save_export").c_str(),
                MB_OK | MB_ICONWARNING);
    return false;
  }
  if (typed == path || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  const std::wstring question = FormatText(L"box_overwrite", {path});
  return MessageBoxW(owner, question.c_str(), Translate(L"dialog_save_export").c_str(),
                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

std::wstring AskExportPath(HWND owner, uint32_t formatIndex) {
  if (formatIndex >= kExportFormatCount) formatIndex = kExportCsv;
  DWORD chosen = 0;
  const std::wstring typed = RunSaveDialog(owner, ExportDialogFilter(formatIndex), 1, kExportFormats[formatIndex], &chosen);
  if (typed.empty()) return L"";
  // One format only: a name that says another gets this format's extension.
  ExportTarget target = ResolveExportTarget(typed, 1, formatIndex);
  if (target.format != formatIndex) target.path = typed + L"." + kExportFormats[formatIndex].extension;
  return MayWrite(owner, typed, target.path) ? target.path : L"";
}

bool AskExportTarget(HWND owner, uint32_t formatIndex, ExportTarget* target) {
  if (formatIndex >= kExportFormatCount) formatIndex = kExportCsv;
  DWORD chosen = 0;
  const std::wstring typed =
      RunSaveDialog(owner, ExportDialogFilterAll(), formatIndex + 1, kExportFormats[formatIndex], &chosen);
  if (typed.empty()) return false;
  *target = ResolveExportTarget(typed, chosen, formatIndex);
  return MayWrite(owner, typed, target->path);
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
  ExportTarget target;
  if (!AskExportTarget(main, index, &target)) return;
  // The format box shows what was written, also where the dialog's type or the name chose it.
  if (HWND box = Control(kCtlExportBox)) SendMessageW(box, CB_SETCURSEL, target.format, 0);
  if (WriteExport(target.format, target.path, ui.currentResults, ExportHeader(), &ui.currentDiagnosis,
                  CurrentLanguage)) {
    // The log keeps German; the status line tells the user in the chosen language.
    AppendDiagLog(TranslateIn(L"export_done", kLanguageGerman) + target.path);
    SetText(kCtlStatusLine, Translate(L"export_done") + target.path);
  } else {
    MessageBoxW(main, Translate(L"box_export_failed").c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
  }
}

ReportBoxContent ResultReportBox(int language) {
  const WindowState& ui = Ui();
  const ResultReport report = BuildRunReport(ui.currentResults, ui.currentVerdict, &ui.currentDiagnosis.diagnosis,
                                             &ui.currentHeader, language);
  return {VerdictHeadOf(ui.currentVerdict, language), ReportBoxText(report)};
}

void ShowResultReport(HWND main, const std::vector<ResultRecord>& rows) {
  if (rows.empty()) return;
  // The box in the chosen language, with the verdict's icon; "Ja" saves the German report.
  const ReportBoxContent box = ResultReportBox(CurrentLanguage);
  const PCWSTR icon = box.head.icon == VerdictIcon::kError     ? TD_ERROR_ICON
                      : box.head.icon == VerdictIcon::kWarning ? TD_WARNING_ICON
                                                               : TD_INFORMATION_ICON;
  const int answer = AskTaskDialog(main, Translate(L"report_title"), box.text, icon,
                                   {{IDYES, Translate(L"button_save_report")}, {IDNO, Translate(L"button_close")}},
                                   IDNO, IDNO);
  if (answer != IDYES) return;
  const std::wstring path = AskExportPath(main, kExportFormattedText);
  if (path.empty()) return;
  const WindowState& ui = Ui();
  const ResultReport saved = BuildRunReport(rows, ui.currentVerdict, &ui.currentDiagnosis.diagnosis,
                                            &ui.currentHeader, kLanguageGerman);
  if (WriteUtf8File(path, saved.body)) {
    AppendDiagLog(TranslateIn(L"export_done", kLanguageGerman) + path);
    SetText(kCtlStatusLine, Translate(L"export_done") + path);
  }
}

}  // namespace velkor
