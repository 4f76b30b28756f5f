#include "results/exports.h"

#include "common/format.h"
#include "common/localization.h"
#include "pdf/file_writers.h"
#include "pdf/pdf_writer.h"
#include "results/diagnosis_pdf.h"
#include "results/results_database.h"

namespace velkor {
namespace {

std::wstring PadRight(const std::wstring& text, size_t width) {
  return text.size() < width ? text + std::wstring(width - text.size(), L' ') : text;
}

std::wstring PadLeft(const std::wstring& text, size_t width) {
  return text.size() < width ? std::wstring(width - text.size(), L' ') + text : text;
}

std::wstring EscapeHtmlText(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c == L'&') {
      out += L"&amp;";
    } else if (c == L'<') {
      out += L"&lt;";
    } else if (c == L'>') {
      out += L"&gt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::wstring YesNoText(bool flag, int language) { return TranslateIn(flag ? L"yes" : L"no", language); }

std::wstring BuildDelimitedTable(const std::vector<ResultRecord>& records, wchar_t separator, int language) {
  const std::wstring sep(1, separator);
  std::wstring text = BuildResultSummary(records) + L"\n\n";
  text += L"Art des Zugriffs" + sep + L"Worker" + sep + L"Block KB" + sep + L"Größe MB" + sep + L"MB/s" + sep +
          L"Geprüft" + sep + L"Fehler" + sep + L"Ergebnis\n";
  for (const ResultRecord& r : records) {
    text += r.method + sep + std::to_wstring(r.workers) + sep + std::to_wstring(r.blockSize / 1024) + sep +
            std::to_wstring(r.bytes / 1048576) + sep + FormatDecimal2(r.mbPerSecond) + sep +
            YesNoText(r.verified, language) + sep + std::to_wstring(r.errors) + sep + ResultText(r) + L"\n";
  }
  return text;
}

std::wstring BuildFormattedTable(const std::vector<ResultRecord>& records, int language) {
  std::wstring text = BuildResultSummary(records) + L"\n\n";
  text += PadRight(L"Art des Zugriffs", 22) + PadLeft(L"Worker", 8) + PadLeft(L"Block", 10) +
          PadLeft(L"Größe", 12) + PadLeft(L"MB/s", 10) + PadLeft(L"Geprüft", 10) + PadLeft(L"Fehler", 8) +
          L"  Ergebnis\n";
  text += std::wstring(96, L'-') + L"\n";
  for (const ResultRecord& r : records) {
    text += PadRight(r.method, 22) + PadLeft(std::to_wstring(r.workers), 8) +
            PadLeft(std::to_wstring(r.blockSize / 1024) + L" KB", 10) +
            PadLeft(std::to_wstring(r.bytes / 1048576) + L" MB", 12) + PadLeft(FormatDecimal2(r.mbPerSecond), 10) +
            PadLeft(YesNoText(r.verified, language), 10) + PadLeft(std::to_wstring(r.errors), 8) + L"  " +
            ResultText(r) + L"\n";
  }
  return text;
}

std::wstring BuildXlsDocument(const std::vector<ResultRecord>& records, int language) {
  return L"<html><head><meta charset=\"utf-8\"></head><body><pre>" +
         EscapeHtmlText(BuildFormattedTable(records, language)) + L"</pre></body></html>";
}

bool WriteResultsPdf(const std::wstring& path, const std::vector<ResultRecord>& records, const RunDiagnosis* run,
                     int language) {
  const std::string second = run != nullptr ? BuildDiagnosisPdfPage(*run) : std::string();
  return WriteBinaryFile(path, BuildResultsPdf(BuildFormattedTable(records, language), second));
}

bool WriteExport(uint32_t formatIndex, const std::wstring& path, const std::vector<ResultRecord>& records,
                 const ResultsFileHeader& header, const RunDiagnosis* run, int language) {
  switch (formatIndex) {
    case kExportCsv:
      return WriteUtf8File(path, BuildDelimitedTable(records, L';', language));
    case kExportXls:
      return WriteUtf8File(path, BuildXlsDocument(records, language));
    case kExportPlainText:
      return WriteUtf8File(path, BuildDelimitedTable(records, L'\t', language));
    case kExportFormattedText:
      return WriteUtf8File(path, BuildFormattedTable(records, language));
    case kExportJson:
      return WriteUtf8File(path, BuildResultsJson(header, records, true, run));
    case kExportPdf:
      return WriteResultsPdf(path, records, run, language);
    default:
      return false;
  }
}

std::wstring MakeExportFileName(std::wstring_view extension) {
  return MakeExportFileName(extension, platform::GetLocalTimeNow());
}

std::wstring MakeExportFileName(std::wstring_view extension, const platform::LocalTime& time) {
  return MakeFileTimestamp(time) + L"-velkor-export." + std::wstring(extension);
}

std::wstring ExportDialogFilter(uint32_t formatIndex) {
  const ExportFormat& format = kExportFormats[formatIndex < kExportFormatCount ? formatIndex : kExportCsv];
  const std::wstring pattern = std::wstring(L"*.") + format.extension;
  std::wstring filter = Localize(format.description) + L" (" + pattern + L")";
  filter.push_back(L'\0');
  filter += pattern;
  filter.push_back(L'\0');
  filter += Translate(L"dialog_all_files");
  filter.push_back(L'\0');
  filter += L"*.*";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

}  // namespace velkor
