#include "pdf/help_pdf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>

#include "common/localization.h"
#include "pdf/help_layout.h"
#include "pdf/help_text.h"
#include "platform/text.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

std::vector<std::wstring> Words(std::wstring_view text) {
  std::vector<std::wstring> words;
  std::wistringstream in{std::wstring(text)};
  for (std::wstring word; in >> word;) words.push_back(word);
  return words;
}

void Append(std::vector<std::wstring>& to, std::wstring_view text) {
  for (std::wstring& word : Words(text)) to.push_back(std::move(word));
}

// What the help says, word by word, in reading order, with the lists' markers.
std::vector<std::wstring> HelpWords(const HelpText& help) {
  std::vector<std::wstring> words;
  Append(words, help.title);
  Append(words, help.subtitle);
  for (size_t i = 0; i < help.lineCount; ++i) {
    const std::wstring_view line = help.lines[i];
    switch (KindOfHelpLine(line)) {
      case HelpLine::kItem: words.push_back(L"\x2022"); break;
      case HelpLine::kStep: words.emplace_back(line.substr(0, line.find(L". ") + 1)); break;
      default: break;
    }
    if (KindOfHelpLine(line) == HelpLine::kRow) {
      for (std::wstring_view cell : HelpTableCells(line)) Append(words, cell);
    } else {
      Append(words, HelpLineText(line));
    }
  }
  return words;
}

constexpr size_t kFootTexts = 2;  // the title and "page / pages", last on every page

bool IsHeading(const PlacedText& t) { return t.font == PdfFont::kBold && t.size == 14; }

// The document as a reader sees it: nothing of the help lost or out of order, nothing past the
// margins, no heading left alone at a page's foot, a numbered foot on every page.
TEST(HelpLayout, EveryWordInOrderInsideTheMarginsWithHeadingsOffThePageFoot) {
  for (int language = 0; language < kLanguageCount; ++language) {
    SCOPED_TRACE("language " + std::to_string(language));
    const HelpText help = HelpTextIn(language);
    const std::vector<HelpPage> pages = LayOutHelp(help);
    ASSERT_GE(pages.size(), 3u);
    std::vector<std::wstring> laidOut;
    size_t headings = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
      const std::vector<PlacedText>& texts = pages[p].texts;
      ASSERT_GT(texts.size(), kFootTexts);
      EXPECT_EQ(texts.back().text, std::to_wstring(p + 1) + L" / " + std::to_wstring(pages.size()));
      EXPECT_EQ(texts[texts.size() - 2].text, help.title);
      const size_t body = texts.size() - kFootTexts;
      for (size_t i = 0; i < texts.size(); ++i) {
        const PlacedText& t = texts[i];
        EXPECT_GE(t.x, kHelpMargin - 0.01) << platform::WideToUtf8(t.text);
        EXPECT_LE(t.x + TextWidth(t.text, t.size, t.font), kHelpPageWidth - kHelpMargin + 0.01)
            << platform::WideToUtf8(t.text);
        EXPECT_LE(t.y + 0.75 * t.size, kHelpPageHeight - kHelpTopMargin + 0.01);  // the ascender
        if (i >= body) continue;
        EXPECT_GE(t.y, kHelpBottomMargin) << platform::WideToUtf8(t.text);
        if (!t.repeated) Append(laidOut, t.text);
        if (IsHeading(t)) {
          ++headings;
          EXPECT_LT(i + 1, body) << "a heading ends page " << p + 1 << ": " << platform::WideToUtf8(t.text);
        }
      }
    }
    const std::vector<std::wstring> said = HelpWords(help);
    const auto differ = std::mismatch(laidOut.begin(), laidOut.end(), said.begin(), said.end());
    EXPECT_TRUE(differ.first == laidOut.end() && differ.second == said.end())
        << "word " << differ.first - laidOut.begin() << ": laid out "
        << (differ.first == laidOut.end() ? "(end)" : platform::WideToUtf8(*differ.first)) << ", said "
        << (differ.second == said.end() ? "(end)" : platform::WideToUtf8(*differ.second));
    EXPECT_EQ(headings, 10u);
  }
}

TEST(HelpLayout, LinesBrokenToTheWidthAndNothingLost) {
  const std::wstring sentence = L"Velkor prüft, ob ein Stick wirklich so viel speichert, wie er angibt.";
  const std::wstring path = L"C:\\" + std::wstring(200, L'x') + L"\\velkor.bin";
  struct Case {
    std::wstring text;
    double width;
    size_t lines;
  };
  const Case cases[] = {
      {sentence, 1000, 1},
      {sentence, 120, 0},
      {L"", 100, 1},          // an empty paragraph still takes its line
      {path, 200, 0},         // a word wider than a line is cut, not set past the margin
      {L"a  b   c", 1000, 1},  // blanks in a row collapse
      {L"Taille test (Mo) ; Libre restant : rien", 85, 0},  // no line starts with ";" or ":"
  };
  for (const Case& c : cases) {
    const std::vector<std::wstring> lines = BreakLines(c.text, c.width, 10, PdfFont::kRegular);
    std::wstring joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(TextWidth(lines[i], 10, PdfFont::kRegular), c.width) << platform::WideToUtf8(lines[i]);
      joined += (i > 0 && c.text != path ? L" " : L"") + lines[i];
      // Each line as full as it can be: the next line's first word did not fit on it.
      if (i + 1 < lines.size() && c.text != path) {
        const std::wstring next = lines[i + 1].substr(0, lines[i + 1].find(L' '));
        EXPECT_GT(TextWidth(lines[i] + L" " + next, 10, PdfFont::kRegular), c.width) << platform::WideToUtf8(lines[i]);
      }
    }
    if (c.lines != 0) {
      EXPECT_EQ(lines.size(), c.lines) << platform::WideToUtf8(c.text);
    }
    if (c.text != L"a  b   c") {
      EXPECT_EQ(joined, c.text);
    }
    if (c.text == path) {
      EXPECT_GT(lines.size(), 3u);
    }
    for (const std::wstring& line : lines) EXPECT_TRUE(line.empty() || (line[0] != L';' && line[0] != L':'));
  }
}

// A table that runs over a page break goes on under its own header row.
TEST(HelpLayout, ATableOverAPageBreakRepeatsItsHeader) {
  std::vector<std::wstring> rows = {L"# Tabelle", L"| Name | Bedeutung"};
  for (int i = 1; i <= 80; ++i) rows.push_back(L"| Zeile " + std::to_wstring(i) + L" | Text " + std::to_wstring(i));
  std::vector<const wchar_t*> lines;
  for (const std::wstring& row : rows) lines.push_back(row.c_str());
  const HelpText help{L"de", L"Titel", L"Untertitel", lines.data(), lines.size()};
  const std::vector<HelpPage> pages = LayOutHelp(help);
  ASSERT_GE(pages.size(), 2u);
  for (size_t p = 0; p < pages.size(); ++p) {
    size_t headers = 0;
    for (const PlacedText& t : pages[p].texts) headers += t.text == L"Bedeutung" && t.font == PdfFont::kBold;
    EXPECT_EQ(headers, 1u) << "page " << p + 1;
  }
}

TEST(HelpPdf, EveryLanguagesDocumentThatReadersAccept) {
  testing::TempFolder folder;
  EXPECT_FALSE(WriteHelpPdf(folder.File(L"kein-ordner") + L"/Velkor-Hilfe.pdf", kLanguageGerman));
  for (int language = 0; language < kLanguageCount; ++language) {
    SCOPED_TRACE("language " + std::to_string(language));
    const HelpText help = HelpTextIn(language);
    const std::wstring path = folder.File(L"help-" + std::to_wstring(language) + L".pdf");
    ASSERT_TRUE(WriteHelpPdf(path, language));
    const std::string bytes = testing::ReadFileBytes(path);
    const size_t pages = LayOutHelp(help).size();
    EXPECT_NE(bytes.find("/Count " + std::to_string(pages) + " >>"), std::string::npos);
    EXPECT_NE(bytes.find("/BaseFont /Helvetica-Bold"), std::string::npos);

    if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";
    std::string output;
    EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    EXPECT_EQ(testing::PdfPageCount(path), static_cast<int>(pages));
    // A reader's text gives every word of the help in order (the feet come between).
    const std::vector<std::wstring> read = Words(platform::Utf8ToWide(testing::PdfToRawText(path)));
    size_t at = 0;
    for (const std::wstring& word : HelpWords(help)) {
      while (at < read.size() && read[at] != word) ++at;
      ASSERT_LT(at, read.size()) << "missing or out of order: " << platform::WideToUtf8(word);
      ++at;
    }
  }
}

}  // namespace
}  // namespace velkor
