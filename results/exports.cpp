#include "results/exports.h"

#include "common/format.h"
#include "common/localization.h"
#include "pdf/file_writers.h"
#include "pdf/pdf_writer.h"
#include "results/diagnosis_pdf.h"
#include "results/evidence.h"
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

// The summary line(s) of the rows; with a context, the verdict's summary, its line and the
// evidence of the run.
std::wstring ExportHead(const std::vector<ResultRecord>& records, const ExportContext* context) {
  if (context == nullptr) return BuildResultSummary(records);
  std::wstring text = BuildResultSummary(records, context->verdict);
  const VerdictHead head = VerdictHeadOf(context->verdict);
  text += L"\nErgebnis: " + head.title + L". " + head.text;
  for (const std::wstring& line : EvidenceLines(context->header)) text += L"\n" + line;
  return text;
}

// A row of a run that never ended and that was not read back is no "OK".
std::wstring RowResultText(const ResultRecord& r, const ExportContext* context) {
  std::wstring text = ResultText(r);
  if (context != nullptr && !context->header.final && text == L"OK" && !r.verified) return L"abgebrochen";
  return text;
}

}  // namespace

std::wstring YesNoText(bool flag, int language) { return TranslateIn(flag ? L"yes" : L"no", language); }

ExportContext ExportContextOf(const std::vector<ResultRecord>& records, const ResultsFileHeader& header,
                              const RunDiagnosis* run) {
  return {header, JudgeRun(records, run != nullptr ? &run->diagnosis : nullptr, RunFactsOf(header))};
}

std::wstring BuildDelimitedTable(const std::vector<ResultRecord>& records, wchar_t separator, int language,
                                 const ExportContext* context) {
  const std::wstring sep(1, separator);
  std::wstring text = ExportHead(records, context) + L"\n\n";
  text += L"Art des Zugriffs" + sep + L"Worker" + sep + L"Block KB" + sep + L"Größe MB" + sep + L"MB/s" + sep +
          L"Geprüft" + sep + L"Fehler" + sep + L"Ergebnis\n";
  for (const ResultRecord& r : records) {
    text += r.method + sep + std::to_wstring(r.workers) + sep + std::to_wstring(r.blockSize / 1024) + sep +
            std::to_wstring(r.bytes / 1048576) + sep + FormatDecimal2(r.mbPerSecond) + sep + YesNoText(r.verified, language) +
            sep + std::to_wstring(r.errors) + sep + RowResultText(r, context) + L"\n";
  }
  return text;
}

std::wstring BuildFormattedTable(const std::vector<ResultRecord>& records, int language, const ExportContext* context) {
  std::wstring text = ExportHead(records, context) + L"\n\n";
  text += PadRight(L"Art des Zugriffs", 22) + PadLeft(L"Worker", 8) + PadLeft(L"Block", 10) +
          PadLeft(L"Größe", 12) + PadLeft(L"MB/s", 10) + PadLeft(L"Geprüft", 10) + PadLeft(L"Fehler", 8) +
          L"  Ergebnis\n";
  text += std::wstring(96, L'-') + L"\n";
  for (const ResultRecord& r : records) {
    text += PadRight(r.method, 22) + PadLeft(std::to_wstring(r.workers), 8) +
            PadLeft(std::to_wstring(r.blockSize / 1024) + L" KB", 10) +
            PadLeft(std::to_wstring(r.bytes / 1048576) + L" MB", 12) + PadLeft(FormatDecimal2(r.mbPerSecond), 10) +
            PadLeft(YesNoText(r.verified, language), 10) + PadLeft(std::to_wstring(r.errors), 8) + L"  " +
            RowResultText(r, context) + L"\n";
  }
  return text;
}

std::wstring BuildXlsDocument(const std::vector<ResultRecord>& records, int language, const ExportContext* context) {
  return L"<html><head><meta charset=\"utf-8\"></head><body><pre>" +
         EscapeHtmlText(BuildFormattedTable(records, language, context)) + L"</pre></body></html>";
}

bool WriteResultsPdf(const std::wstring& path, const std::vector<ResultRecord>& records, const RunDiagnosis* run,
                     int language, const ExportContext* context) {
  const std::string second = run != nullptr ? BuildDiagnosisPdfPage(*run) : std::string();
  return WriteBinaryFile(path, BuildResultsPdf(BuildFormattedTable(records, language, context), second));
}

bool WriteExport(uint32_t formatIndex, const std::wstring& path, const std::vector<ResultRecord>& records,
                 const ResultsFileHeader& header, const RunDiagnosis* run, int language) {
  const ExportContext context = ExportContextOf(records, header, run);
  switch (formatIndex) {
    case kExportCsv:
      return WriteUtf8File(path, BuildDelimitedTable(records, L';', language, &context));
    case kExportXls:
      return WriteUtf8File(path, BuildXlsDocument(records, language, &context));
    case kExportPlainText:
      return WriteUtf8File(path, BuildDelimitedTable(records, L'\t', language, &context));
    case kExportFormattedText:
      return WriteUtf8File(path, BuildFormattedTable(records, language, &context));
    case kExportJson:
      // A run that never ended does not become final by being exported.
      return WriteUtf8File(path, BuildResultsJson(header, records, header.final, run));
    case kExportPdf:
      return WriteResultsPdf(path, records, run, language, &context);
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

namespace {

void AppendFilter(std::wstring& filter, const std::wstring& text, const std::wstring& pattern) {
  filter += text;
  filter.push_back(L'\0');
  filter += pattern;
  filter.push_back(L'\0');
}

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// The extension of the path's last component, lower case; empty without one.
std::wstring ExtensionOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return L"";
  std::wstring ext = path.substr(dot + 1);
  for (wchar_t& c : ext) c = FoldAscii(c);
  return ext;
}

}  // namespace

std::wstring ExportDialogFilterAll() {
  std::wstring filter;
  for (uint32_t i = 0; i < kExportFormatCount; ++i) {
    const ExportFormat& format = kExportFormats[i];
    bool shared = false;
    for (const ExportFormat& other : kExportFormats) {
      shared = shared || (&other != &format && std::wstring_view(other.description) == format.description);
    }
    const std::wstring pattern = std::wstring(L"*.") + format.extension;
    std::wstring text = Localize(format.description);
    if (shared) text += L", " + Localize(format.name);
    AppendFilter(filter, text + L" (" + pattern + L")", pattern);
  }
  AppendFilter(filter, Translate(L"dialog_all_files"), L"*.*");
  filter.push_back(L'\0');
  return filter;
}

ExportTarget ResolveExportTarget(const std::wstring& path, uint32_t filterIndex, uint32_t fallbackFormat) {
  ExportTarget target;
  target.format = filterIndex >= 1 && filterIndex <= kExportFormatCount ? filterIndex - 1
                  : fallbackFormat < kExportFormatCount                 ? fallbackFormat
                                                                         : kExportCsv;
  target.path = path;
  const std::wstring ext = ExtensionOf(path);
  if (ext == kExportFormats[target.format].extension) return target;
  for (uint32_t i = 0; i < kExportFormatCount; ++i) {
    if (ext != kExportFormats[i].extension) continue;
    target.format = ext == kExportFormats[kExportFormattedText].extension ? kExportFormattedText : i;
    return target;
  }
  // A name that ends in a dot gets no second one.
  if (target.path.empty() || target.path.back() != L'.') target.path.push_back(L'.');
  target.path += kExportFormats[target.format].extension;
  return target;
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
