#include "pdf/help_files.h"

#include <cstdint>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/paths.h"
#include "pdf/file_writers.h"
#include "pdf/help_html.h"
#include "pdf/help_pdf.h"
#include "platform/errors.h"

namespace velkor {
namespace {

// The file name without extension in each language: a user finds "Help" in an English folder.
constexpr const wchar_t* kBaseNames[kLanguageCount] = {L"Velkor-Hilfe", L"Velkor-Help", L"Velkor-Aide", L"Velkor-Ayuda"};

std::wstring HelpFileName(int language, const wchar_t* extension) {
  const int column = language >= 0 && language < kLanguageCount ? language : kLanguageGerman;
  return std::wstring(kBaseNames[column]) + extension;
}

bool Reported(bool written, const std::wstring& path) {
  if (!written) {
    const uint32_t code = platform::LastError();
    AppendDiagLog(L"FEHLER: Hilfedatei konnte nicht geschrieben werden. Datei=" + path + L", " +
                  FormatWindowsError(code));
    PostStatusText(L"Fehler: Hilfedatei konnte nicht geschrieben werden.");
  }
  return written;
}

std::wstring& ChosenHelpFolder() {
  static std::wstring folder;
  return folder;
}

}  // namespace

std::wstring HelpFolder() { return ChosenHelpFolder().empty() ? GetDataDirectory() : ChosenHelpFolder(); }

void SetHelpFolder(const std::wstring& folder) { ChosenHelpFolder() = folder; }

std::wstring HelpHtmlPath(int language) { return JoinPath(HelpFolder(), HelpFileName(language, L".html")); }

std::wstring HelpPdfPath(int language) { return JoinPath(HelpFolder(), HelpFileName(language, L".pdf")); }

bool WriteHelpHtml(const std::wstring& path, int language) { return WriteUtf8File(path, BuildHelpHtml(language)); }

HelpFilesResult GenerateHelpFiles(const std::wstring& folder, int language) {
  const std::wstring html = JoinPath(folder, HelpFileName(language, L".html"));
  const std::wstring pdf = JoinPath(folder, HelpFileName(language, L".pdf"));
  HelpFilesResult result;
  result.htmlWritten = Reported(WriteHelpHtml(html, language), html);
  result.pdfWritten = Reported(WriteHelpPdf(pdf, language), pdf);
  return result;
}

HelpFilesResult GenerateHelpFiles() { return GenerateHelpFiles(HelpFolder(), CurrentLanguage); }

}  // namespace velkor
