#include "pdf/pdf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "pdf/pdf_drawing.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

// Checks what a reader relies on: every cross-reference offset points at its object, every
// /Length matches its stream, startxref points at the table. Returns the object count.
size_t CheckStructure(const std::string& pdf) {
  EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
  const size_t startxref = pdf.rfind("startxref\n");
  EXPECT_NE(startxref, std::string::npos);
  const size_t xref = std::stoul(pdf.substr(startxref + 10));
  EXPECT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  std::smatch m;
  const std::string table = pdf.substr(xref);
  EXPECT_TRUE(std::regex_search(table, m, std::regex("^xref\n0 (\\d+)\n0000000000 65535 f \n")));
  const size_t count = std::stoul(m[1]) - 1;
  for (size_t i = 1; i <= count; ++i) {
    const std::string entry = table.substr(m.length(0) + (i - 1) * 20, 20);
    EXPECT_TRUE(std::regex_match(entry, std::regex("\\d{10} 00000 n \n"))) << entry;
    const size_t offset = std::stoul(entry.substr(0, 10));
    const std::string head = std::to_string(i) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << i;
  }
  EXPECT_TRUE(std::regex_search(table, std::regex("trailer\n<< /Size " + std::to_string(count + 1) +
                                                  " /Root 1 0 R( /Info \\d+ 0 R)? >>")));
  const std::regex stream("<< /Length (\\d+) >>\nstream\n");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stream); it != std::sregex_iterator(); ++it) {
    const size_t length = std::stoul((*it)[1]);
    const size_t begin = it->position(0) + it->length(0);
    EXPECT_EQ(pdf.compare(begin + length, 10, "endstream\n"), 0);
  }
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  return count;
}

TEST(EscapePdfText, EscapesDelimitersAndDropsControlBytes) {
  EXPECT_EQ(EscapePdfText("a(b)c\\d"), "a\\(b\\)c\\\\d");
  EXPECT_EQ(EscapePdfText("Zeile\r\x01\x1F" "ende\tTab"), "Zeileende\tTab");
  EXPECT_EQ(EscapePdfText("\xE4\xF6\xFC\xFF"), "\xE4\xF6\xFC\xFF");
  EXPECT_EQ(EscapePdfText(""), "");
}

TEST(ResultsPdf, OnePageWithTitleAndAtMost37TableLines) {
  std::wstring table = L"Zusammenfassung: geschrieben 1.0 GB\r\nEmpfehlung: Zuverlässig (x)\n\n";
  for (int i = 1; i <= 50; ++i) table += L"Zeile " + std::to_wstring(i) + L" a\\b\n";
  const std::string pdf = BuildResultsPdf(table);
  EXPECT_EQ(CheckStructure(pdf), 5u);
  EXPECT_NE(pdf.find("BT\n/F1 9 Tf\n40 555 Td\n(Velkor Ergebnisse) Tj\n0 -13 Td\n"), std::string::npos);
  EXPECT_NE(pdf.find("(Zusammenfassung: geschrieben 1.0 GB) Tj\n"), std::string::npos);  // CR dropped
  EXPECT_NE(pdf.find("(Empfehlung: Zuverl\xE4ssig \\(x\\)) Tj\n"), std::string::npos);
  EXPECT_NE(pdf.find("(Zeile 34 a\\\\b) Tj\n"), std::string::npos);  // line 37 of the table
  EXPECT_EQ(pdf.find("(Zeile 35 "), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 842 595]"), std::string::npos);
  // The table pads its columns with blanks: a font of equal widths.
  EXPECT_NE(pdf.find("/BaseFont /Courier /Encoding /WinAnsiEncoding"), std::string::npos);
  EXPECT_EQ(pdf.find("Helvetica"), std::string::npos);
}

TEST(PortraitPdf, PagesWithBothFontsAndATitle) {
  const std::string pdf = BuildPortraitPdf({"BT\n/F1 10 Tf\n(eins) Tj\nET\n", "BT\n/F2 10 Tf\n(zwei) Tj\nET\n"},
                                           L"Velkor Hilfe (Größe)");
  EXPECT_EQ(CheckStructure(pdf), 9u);
  EXPECT_NE(pdf.find("<< /Type /Pages /Kids [3 0 R 5 0 R ] /Count 2 >>"), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 595 842] /Resources << /Font << /F1 7 0 R /F2 8 0 R >> >> /Contents 6 0 R"),
            std::string::npos);
  EXPECT_NE(pdf.find("7 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /"), std::string::npos);
  EXPECT_NE(pdf.find("8 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /"), std::string::npos);
  EXPECT_NE(pdf.find("<< /Title (Velkor Hilfe \\(Gr\xF6\xDF" "e\\)) /Producer (Velkor) >>"), std::string::npos);
  EXPECT_NE(pdf.find(" /Root 1 0 R /Info 9 0 R >>"), std::string::npos);

  // No content still makes one (empty) page, which readers need.
  const std::string empty = BuildPortraitPdf({}, L"Leer");
  EXPECT_EQ(CheckStructure(empty), 7u);
  EXPECT_NE(empty.find("/Kids [3 0 R ] /Count 1"), std::string::npos);
}

TEST(Pdf, ReadersAcceptTheFiles) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";
  testing::TempFolder folder;
  std::vector<std::string> pages(2);
  for (int i = 1; i <= 69; ++i) {
    pages[i <= 42 ? 0 : 1] += PdfText(40, 800 - ((i - 1) % 42) * 16, 10, L"Zeile " + std::to_wstring(i) + L" Größe (x) a\\b",
                                      0, i % 2 ? "/F1" : "/F2");
  }
  const std::wstring helpPath = folder.File(L"help.pdf");
  testing::WriteFileBytes(helpPath, BuildPortraitPdf(pages, L"Hilfe"));
  const std::wstring resultsPath = folder.File(L"results.pdf");
  testing::WriteFileBytes(resultsPath, BuildResultsPdf(L"Übersicht (1)\nPfad C:\\x\n"));

  for (const std::wstring& path : {helpPath, resultsPath}) {
    std::string output;
    EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  }
  EXPECT_EQ(testing::PdfPageCount(helpPath), 2);
  EXPECT_EQ(testing::PdfPageCount(resultsPath), 1);
  const std::string helpText = testing::PdfToText(helpPath);
  size_t at = 0;
  for (int i = 1; i <= 69; ++i) {
    at = helpText.find("Zeile " + std::to_string(i) + " Gr\xC3\xB6\xC3\x9F" "e (x) a\\b", at);
    ASSERT_NE(at, std::string::npos) << "line " << i;
  }
  EXPECT_EQ(std::count(helpText.begin(), helpText.end(), '\f'), 2);  // two pages
  const std::string resultsText = testing::PdfToText(resultsPath);
  EXPECT_NE(resultsText.find("\xC3\x9C" "bersicht (1)"), std::string::npos);
  EXPECT_NE(resultsText.find("Pfad C:\\x"), std::string::npos);
}

}  // namespace
}  // namespace velkor
