#include "pdf/help_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/paths.h"
#include "pdf/help_html.h"
#include "pdf/help_pdf.h"
#include "pdf/pdf_writer.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

bool Exists(const std::wstring& path) { return std::filesystem::exists(std::filesystem::path(path)); }

// One name per language, so each language's files stay beside the others; the current
// language's by default.
TEST(HelpFiles, PathsBesideTheProgramOnePerLanguage) {
  const wchar_t* names[] = {L"Velkor-Hilfe", L"Velkor-Help", L"Velkor-Aide", L"Velkor-Ayuda"};
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_EQ(HelpHtmlPath(language), JoinPath(GetDataDirectory(), std::wstring(names[language]) + L".html"));
    EXPECT_EQ(HelpPdfPath(language), JoinPath(GetProgramDirectory(), std::wstring(names[language]) + L".pdf"));
  }
  const int saved = CurrentLanguage;
  CurrentLanguage = kLanguageSpanish;
  EXPECT_EQ(HelpHtmlPath(), HelpHtmlPath(kLanguageSpanish));
  CurrentLanguage = saved;
}

TEST(HelpFiles, HtmlIsUtf8WithoutByteOrderMark) {
  TempFolder folder;
  const std::wstring path = folder.File(L"Velkor-Hilfe.html");
  ASSERT_TRUE(WriteHelpHtml(path, kLanguageGerman));
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.rfind("<!doctype html>\n<html lang=\"de\">\n", 0), 0u);
  EXPECT_NE(bytes.find("<h2>Die Men\xC3\xBC" "s</h2>"), std::string::npos);
  EXPECT_NE(bytes.find("<td>Zuverl\xC3\xA4ssig</td>"), std::string::npos);
  EXPECT_NE(bytes.find("Gr\xC3\xB6\xC3\x9F" "e"), std::string::npos);
  EXPECT_EQ(platform::Utf8ToWide(bytes), BuildHelpHtml(kLanguageGerman));
}

// Both files come back whenever the help is generated: deleted, or replaced by something else.
TEST(HelpFiles, GenerationRewritesDeletedAndChangedFiles) {
  TempFolder folder;
  const std::wstring html = folder.File(L"Velkor-Aide.html");
  const std::wstring pdf = folder.File(L"Velkor-Aide.pdf");
  const std::string htmlBytes = platform::WideToUtf8(BuildHelpHtml(kLanguageFrench));
  const std::string pdfBytes = BuildHelpPdf(kLanguageFrench);

  HelpFilesResult result = GenerateHelpFiles(folder.path(), kLanguageFrench);
  EXPECT_TRUE(result.htmlWritten);
  EXPECT_TRUE(result.pdfWritten);
  EXPECT_EQ(ReadFileBytes(html), htmlBytes);
  EXPECT_EQ(ReadFileBytes(pdf), pdfBytes);

  std::filesystem::remove(std::filesystem::path(html));
  WriteFileBytes(pdf, std::string(200000, 'x'));  // an old, longer file leaves no remnant
  result = GenerateHelpFiles(folder.path(), kLanguageFrench);
  EXPECT_TRUE(result.htmlWritten && result.pdfWritten);
  EXPECT_EQ(ReadFileBytes(html), htmlBytes);
  EXPECT_EQ(ReadFileBytes(pdf), pdfBytes);

  std::filesystem::remove(std::filesystem::path(pdf));
  result = GenerateHelpFiles(folder.path(), kLanguageFrench);
  EXPECT_TRUE(result.htmlWritten && result.pdfWritten);
  EXPECT_EQ(ReadFileBytes(pdf), pdfBytes);
}

// A folder the help cannot be written to: both files are tried, each failure is logged with its
// path and the system's reason, and the status line says so.
TEST(HelpFiles, UnwritableFolderIsReportedPerFile) {
  TempFolder logs;
  SetLogFilePath(logs.File(L"velkor.log"));
  std::vector<std::wstring> status;
  SetUiReceiver({{}, [&status](std::wstring text) { status.push_back(std::move(text)); }, {}});
  TempFolder folder;
  const std::wstring missing = folder.File(L"fehlt");

  const HelpFilesResult result = GenerateHelpFiles(missing, kLanguageGerman);
  SetUiReceiver({});
  EXPECT_FALSE(result.htmlWritten);
  EXPECT_FALSE(result.pdfWritten);
  EXPECT_FALSE(Exists(missing));

  const std::wstring log = platform::Utf8ToWide(ReadFileBytes(GetLogFilePath()));
  for (const wchar_t* name : {L"Velkor-Hilfe.html", L"Velkor-Hilfe.pdf"}) {
    const std::wstring line = L"FEHLER: Hilfedatei konnte nicht geschrieben werden. Datei=" +
                              JoinPath(missing, name) + L", " + platform::SystemErrorName(3) + L": ";
    EXPECT_NE(log.find(line), std::wstring::npos) << platform::WideToUtf8(log);
  }
  EXPECT_EQ(status, std::vector<std::wstring>(2, L"Fehler: Hilfedatei konnte nicht geschrieben werden."));
}

}  // namespace
}  // namespace velkor
