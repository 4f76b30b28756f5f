#include "pdf/help_pdf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "pdf/pdf_writer.h"
#include "platform/text.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

// The layout both pages depend on: headings and empty lines at their places, the fixed lines
// byte for byte, the list markers, and only characters that Windows-1252 and the PDF font hold.
TEST(HelpText, SixtyNineLinesInTheirBlocks) {
  const std::vector<std::wstring> lines = BuildHelpTextLines();
  ASSERT_EQ(lines.size(), 69u);
  const struct {
    size_t line;
    const wchar_t* text;
  } fixed[] = {
      {1, L"Velkor Hilfe"},
      {2, L"================="},
      {4, L"Warum dieses Programm statt nur Quorvel?"},
      {10, L"Besseres Finden der passenden Partition"},
      {15, L"Schneller Schnell-Check"},
      {20, L"Wichtig"},
      {24, L"Was das Programm niemals tut"},
      {30, L"Menüs"},
      {36, L"Normaler Ablauf"},
      {43, L"Profile"},
      {49, L"Teilbereichstest"},
      {53, L"Worker und Geschwindigkeit"},
      {58, L"Ergebnisse und Export"},
      {63, L"Warnung bei nicht leerer Zielpartition"},
      {67, L"Empfehlung"},
  };
  for (const auto& f : fixed) EXPECT_EQ(lines[f.line - 1], f.text) << "line " << f.line;
  for (size_t empty : {3, 9, 14, 19, 23, 29, 35, 42, 48, 52, 57, 62, 66}) {
    EXPECT_EQ(lines[empty - 1], L"") << "line " << empty;
  }
  const struct {
    size_t line;
    const wchar_t* prefix;
  } prefixes[] = {
      {25, L"- "},       {26, L"- "},          {27, L"- "},           {28, L"- "},
      {31, L"Datei: "},  {32, L"Test: "},      {33, L"Ansicht: "},    {34, L"Hilfe: "},
      {37, L"1. "},      {38, L"2. "},         {39, L"3. "},          {40, L"4. "},
      {41, L"5. "},      {44, L"Quorvel-Modus: "}, {45, L"Zuverlässig: "}, {46, L"Ausgeglichen: "},
      {47, L"Turbo (aggressiv): "},
  };
  for (const auto& p : prefixes) EXPECT_EQ(lines[p.line - 1].rfind(p.prefix, 0), 0u) << "line " << p.line;
  const std::wstring question = L"Sicher, die Zielpartition ist nicht leer!";
  EXPECT_EQ(lines[64].substr(lines[64].size() - question.size()), question);

  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 80u) << "line " << i + 1;
    for (wchar_t c : lines[i]) {
      EXPECT_TRUE(c < 0x7F || std::wstring_view(L"äöüÄÖÜß").find(c) != std::wstring_view::npos)
          << "line " << i + 1 << " holds a character outside ASCII and the umlauts";
    }
  }
}

TEST(HelpPdf, TwoPagesThatReadersAccept) {
  testing::TempFolder folder;
  const std::wstring path = folder.File(L"Velkor-Hilfe.pdf");
  ASSERT_TRUE(WriteHelpPdf(path));
  EXPECT_FALSE(WriteHelpPdf(folder.File(L"kein-ordner") + L"/Velkor-Hilfe.pdf"));

  // The file as this platform's text conversion wrote it (the readers below exist only natively):
  // every line in Windows-1252, in order, the first page's stream ending after line 42.
  const std::string bytes = testing::ReadFileBytes(path);
  EXPECT_NE(bytes.find("/Count 2 >>"), std::string::npos);
  const size_t firstPageEnd = bytes.find("endstream");
  const std::vector<std::wstring> helpLines = BuildHelpTextLines();
  size_t shown = 0;
  for (size_t i = 0; i < helpLines.size(); ++i) {
    std::string windows1252;  // ASCII and umlauts only, so each character is its own code
    for (wchar_t c : helpLines[i]) windows1252.push_back(static_cast<char>(c));
    shown = bytes.find("\n(" + EscapePdfText(windows1252) + ") Tj\n", shown);
    ASSERT_NE(shown, std::string::npos) << "line " << i + 1 << " missing or out of order";
    EXPECT_EQ(shown < firstPageEnd, i < 42) << "line " << i + 1 << " on the wrong page";
  }

  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";

  std::string output;
  EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
  EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  EXPECT_EQ(testing::PdfPageCount(path), 2);
  const std::string text = testing::PdfToText(path);
  const size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  const std::vector<std::wstring> lines = BuildHelpTextLines();
  size_t at = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    at = text.find(platform::WideToUtf8(lines[i]), at);
    ASSERT_NE(at, std::string::npos) << "line " << i + 1 << " missing or out of order";
    EXPECT_EQ(at < pageBreak, i < 42) << "line " << i + 1 << " on the wrong page";
  }
}

}  // namespace
}  // namespace velkor
