// The six export formats of a result list and the texts behind them. Functions take the record
// list they export; which list a front-end shows is its own business. Headers, format names and
// result words are fixed German texts in every interface language, byte for byte; the window
// shows the format names in its language. Only the verified column's yes or no follows the
// language a table is built in: the window's, German for velkor-cli, which has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/localization.h"
#include "platform/system.h"
#include "results/result_record.h"
#include "results/results_database.h"

namespace velkor {

// One entry of the export format choice.
struct ExportFormat {
  const wchar_t* name;         // shown in the choice, e.g. "Formatierter Text"
  const wchar_t* extension;    // without the dot
  const wchar_t* description;  // save dialog filter text, e.g. "Textdatei"
};

// The formats in the order of the export format choice; the index is the format's identity.
inline constexpr uint32_t kExportCsv = 0;
inline constexpr uint32_t kExportXls = 1;
inline constexpr uint32_t kExportPlainText = 2;
inline constexpr uint32_t kExportFormattedText = 3;
inline constexpr uint32_t kExportJson = 4;
inline constexpr uint32_t kExportPdf = 5;
inline constexpr uint32_t kExportFormatCount = 6;
inline constexpr ExportFormat kExportFormats[kExportFormatCount] = {
    {L"CSV", L"csv", L"CSV-Datei"},
    {L"XLS", L"xls", L"Excel-Datei"},
    {L"Text pur", L"txt", L"Textdatei"},
    {L"Formatierter Text", L"txt", L"Textdatei"},
    {L"JSON", L"json", L"JSON-Datei"},
    {L"PDF", L"pdf", L"PDF-Datei"},
};

// The yes or no text of the verified column in language ("ja", "nein" in German).
std::wstring YesNoText(bool flag, int language = kLanguageGerman);

// The summary line(s), an empty line, a header line and one line per record, fields joined by
// separator (';' for CSV, tab for "Text pur"). Lines end with LF; no field is quoted or escaped.
std::wstring BuildDelimitedTable(const std::vector<ResultRecord>& records, wchar_t separator,
                                 int language = kLanguageGerman);

// The summary line(s), an empty line, a header, a rule of 96 '-' and one line per record in fixed
// column widths; a text wider than its column pushes the rest of the line right. LF line ends.
std::wstring BuildFormattedTable(const std::vector<ResultRecord>& records, int language = kLanguageGerman);

// The XLS export: the formatted table in a minimal HTML page that spreadsheet programs open, with
// &, < and > escaped so that a method text cannot put markup into the page.
std::wstring BuildXlsDocument(const std::vector<ResultRecord>& records, int language = kLanguageGerman);

// One landscape page: "Velkor Ergebnisse" and the first 37 lines of BuildFormattedTable; when run
// has a diagnosis or a speed curve, a second page with the block map and the curves
// (BuildDiagnosisPdfPage). False when the file cannot be written.
bool WriteResultsPdf(const std::wstring& path, const std::vector<ResultRecord>& records,
                     const RunDiagnosis* run = nullptr, int language = kLanguageGerman);

// Writes records to path in the format of kExportFormats[formatIndex], replacing the file. The
// JSON document is a final results file with the given header (and run's diagnosis and speed
// curve); the PDF gets run's second page; the tables are built in language. False when the file
// cannot be created or written, and for an index outside the table (nothing is written then).
bool WriteExport(uint32_t formatIndex, const std::wstring& path, const std::vector<ResultRecord>& records,
                 const ResultsFileHeader& header, const RunDiagnosis* run = nullptr, int language = kLanguageGerman);

// The proposed file name: "<yyyymmdd-hhmmss>-velkor-export." + extension.
std::wstring MakeExportFileName(std::wstring_view extension);  // now
std::wstring MakeExportFileName(std::wstring_view extension, const platform::LocalTime& time);

// The save dialog's filter list: description + " (*.ext)", "*.ext", "Alle Dateien (*.*)", "*.*",
// each ended by a zero character, plus the closing zero; an index outside the table gives CSV's.
std::wstring ExportDialogFilter(uint32_t formatIndex);

}  // namespace velkor
