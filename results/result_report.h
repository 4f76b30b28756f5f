// The report shown after a test run, which the user may save as a text file: German for
// velkor-cli and files, in the window's language in its box.
#pragma once

#include <string>
#include <vector>

#include "results/diagnosis.h"
#include "results/result_record.h"

namespace velkor {

// Caption of the report's message box, German; the window shows Translate("report_title").
inline constexpr wchar_t kResultReportCaption[] = L"Velkor Ergebnis";

// The report: its body (CR LF line ends, each line ended) and the question of the window's box
// ("Ja = ... Nein = nur schließen.", no line end after it). The box shows BoxText.
struct ResultReport {
  std::wstring body;
  std::wstring prompt;
};

// records are the run's rows in list order (after the window's sort); runStop is the stop reason of
// the run's state (kNone when there is none; then the rows' own reasons count). A run the medium's
// errors ended opens with "FEHLER GEFUNDEN"; one stopped otherwise with "ABGEBROCHEN"; neither
// names a fastest variant or a recommendation. The full-test figures add up all "(Volltest)" rows
// (without any, all "(nur prüfen)" rows; without those, the last row). A present diagnosis goes
// between those figures and the summary ("Diagnose", DiagnosisReportBlock); without one the report
// is as it always was. language picks the words; the German report is the same byte for byte as
// velkor-cli prints.
ResultReport BuildResultReport(const std::vector<ResultRecord>& records, StopReason runStop,
                               const Diagnosis* diagnosis = nullptr, int language = kLanguageGerman);

// The text of the window's report box: the body without its last line end. Its buttons say what
// they do, so the prompt does not show.
std::wstring ReportBoxText(const ResultReport& report);

}  // namespace velkor
