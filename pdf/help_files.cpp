#include "pdf/help_files.h"

#include <cstdint>

#include "common/diag_log.h"
#include "common/paths.h"
#include "pdf/file_writers.h"
#include "pdf/help_html.h"
#include "pdf/help_pdf.h"
#include "platform/errors.h"

namespace velkor {
namespace {

constexpr wchar_t kHtmlName[] = L"Velkor-Hilfe.html";
constexpr wchar_t kPdfName[] = L"Velkor-Hilfe.pdf";

bool Reported(bool written, const std::wstring& path) {
  if (!written) {
    const uint32_t code = platform::LastError();
    AppendDiagLog(L"FEHLER: Hilfedatei konnte nicht geschrieben werden. Datei=" + path + L", " +
                  FormatWindowsError(code));
    PostStatusText(L"Fehler: Hilfedatei konnte nicht geschrieben werden.");
  }
  return written;
}

}  // namespace

std::wstring HelpHtmlPath() { return JoinPath(GetDataDirectory(), kHtmlName); }

std::wstring HelpPdfPath() { return JoinPath(GetDataDirectory(), kPdfName); }

bool WriteHelpHtml(const std::wstring& path) { return WriteUtf8File(path, BuildHelpHtml()); }

HelpFilesResult GenerateHelpFiles(const std::wstring& folder) {
  const std::wstring html = JoinPath(folder, kHtmlName);
  const std::wstring pdf = JoinPath(folder, kPdfName);
  HelpFilesResult result;
  result.htmlWritten = Reported(WriteHelpHtml(html), html);
  result.pdfWritten = Reported(WriteHelpPdf(pdf), pdf);
  return result;
}

HelpFilesResult GenerateHelpFiles() { return GenerateHelpFiles(GetDataDirectory()); }

}  // namespace velkor
