#include "pdf/help_pdf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "common/localization.h"
#include "pdf/help_text.h"
#include "pdf/pdf_writer.h"
#include "platform/text.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

bool InWindows1252(wchar_t c) {
  // Latin-1 and the few letters above it that French needs; the PDF font holds them all.
  return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF) || c == 0x0152 || c == 0x0153;
}

// The layout every page depends on: lines of at most 80 characters that Windows-1252 and the PDF
// font hold, the title underlined, each heading underlined and never at the foot of a page.
TEST(HelpText, ShortPrintableLinesWithHeadingsOffThePageFoot) {
  for (int language = 0; language < kLanguageCount; ++language) {
    const std::vector<std::wstring> lines = BuildHelpTextLines(language);
    const HelpText help = HelpTextIn(language);
    ASSERT_GT(lines.size(), 42u) << "language " << language;
    EXPECT_EQ(lines[0], help.title);
    EXPECT_EQ(lines[1], std::wstring(lines[0].size(), L'='));
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(lines[i].size(), 80u) << "line " << i + 1 << " in language " << language;
      for (wchar_t c : lines[i]) EXPECT_TRUE(InWindows1252(c)) << "line " << i + 1 << " in language " << language;
    }
    size_t headings = 0;
    for (size_t k = 0; k < help.lineCount; ++k) {
      if (KindOfHelpLine(help.lines[k]) != HelpLine::kHeading) continue;
      const std::wstring heading(HelpLineText(help.lines[k]));
      const auto at = std::find(lines.begin(), lines.end(), heading);
      ASSERT_NE(at, lines.end()) << platform::WideToUtf8(heading);
      const size_t i = static_cast<size_t>(at - lines.begin());
      EXPECT_LT(i % 42, 40u) << platform::WideToUtf8(heading) << " at the foot of a page";
      EXPECT_EQ(lines[i + 1], std::wstring(heading.size(), L'-'));
      ++headings;
    }
    EXPECT_EQ(headings, 10u);
  }
}

TEST(HelpPdf, EveryLanguagesPagesThatReadersAccept) {
  testing::TempFolder folder;
  EXPECT_FALSE(WriteHelpPdf(folder.File(L"kein-ordner") + L"/Velkor-Hilfe.pdf", kLanguageGerman));
  for (int language = 0; language < kLanguageCount; ++language) {
    const std::wstring path = folder.File(L"help-" + std::to_wstring(language) + L".pdf");
    ASSERT_TRUE(WriteHelpPdf(path, language));
    const std::vector<std::wstring> lines = BuildHelpTextLines(language);
    const int pages = static_cast<int>((lines.size() + 41) / 42);
    EXPECT_NE(testing::ReadFileBytes(path).find("/Count " + std::to_string(pages) + " >>"), std::string::npos);

    if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";
    std::string output;
    EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    EXPECT_EQ(testing::PdfPageCount(path), pages);
    // Every line readable, in order, on its page.
    const std::string text = testing::PdfToText(path);
    size_t at = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      // The reader drops the blanks a wrapped line starts with.
      at = text.find(platform::WideToUtf8(lines[i].substr(lines[i].find_first_not_of(L' '))), at);
      ASSERT_NE(at, std::string::npos) << "line " << i + 1 << " in language " << language << " missing or out of order: "
                                       << platform::WideToUtf8(lines[i]);
      EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\f')), i / 42)
          << "line " << i + 1 << " on the wrong page";
    }
  }
}

}  // namespace
}  // namespace velkor
