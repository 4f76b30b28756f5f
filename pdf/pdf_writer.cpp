#include "pdf/pdf_writer.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace velkor {
namespace {

constexpr const char* kFontBody = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>\n";
constexpr const char* kBoldFontBody =
    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>\n";
// The results table lines its columns up with blanks: only a font of equal widths keeps them.
constexpr const char* kTableFontBody =
    "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>\n";

std::string Num(size_t value) { return std::to_string(value); }

std::string XrefEntry(size_t offset) {
  char entry[32];
  std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
  return entry;
}

std::string ContentStream(const char* start, const char* step, const std::vector<std::string>& lines) {
  std::string content = start;
  for (const std::string& line : lines) content += "(" + EscapePdfText(line) + ") Tj\n" + step;
  content += "ET\n";
  return content;
}

// "%PDF-1.4", the numbered objects 1..n, the cross-reference table and the trailer; info, when not
// 0, is the number of the document's information dictionary.
std::string AssembleDocument(const std::vector<std::string>& bodies, size_t info = 0) {
  std::string file = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < bodies.size(); ++i) {
    offsets.push_back(file.size());
    file += Num(i + 1) + " 0 obj\n" + bodies[i] + "endobj\n";
  }
  const size_t xref = file.size();
  file += "xref\n0 " + Num(bodies.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) file += XrefEntry(offset);
  const std::string infoEntry = info != 0 ? " /Info " + Num(info) + " 0 R" : std::string();
  file += "trailer\n<< /Size " + Num(bodies.size() + 1) + " /Root 1 0 R" + infoEntry + " >>\nstartxref\n" + Num(xref) +
          "\n%%EOF\n";
  return file;
}

std::string StreamBody(const std::string& content) {
  return "<< /Length " + Num(content.size()) + " >>\nstream\n" + content + "endstream\n";
}

}  // namespace

std::string EscapePdfText(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '(' || c == ')' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (b < 32 && b != 9) {
      continue;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string BuildResultsPdf(const std::wstring& table) { return BuildResultsPdf(table, std::string()); }

std::string BuildResultsPdf(const std::wstring& table, const std::string& secondPage) {
  constexpr size_t kMaxLines = 38;
  std::vector<std::string> lines = {"Velkor Ergebnisse"};
  size_t start = 0;
  while (start < table.size() && lines.size() < kMaxLines) {
    size_t end = table.find(L'\n', start);
    if (end == std::wstring::npos) end = table.size();
    lines.push_back(platform::WideToWindows1252(std::wstring_view(table).substr(start, end - start)));
    start = end + 1;
  }
  const std::string content = ContentStream("BT\n/F1 9 Tf\n40 555 Td\n", "0 -13 Td\n", lines);
  const bool two = !secondPage.empty();
  std::vector<std::string> bodies = {
      "<< /Type /Catalog /Pages 2 0 R >>\n",
      two ? "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 >>\n" : "<< /Type /Pages /Kids [3 0 R] /Count 1 >>\n",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 842 595] /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>\n",
      kTableFontBody,
      StreamBody(content),
  };
  if (two) {
    bodies.push_back(
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 842 595] /Resources << /Font << /F1 4 0 R >> >> /Contents 7 0 R >>\n");
    bodies.push_back(StreamBody(secondPage));
  }
  return AssembleDocument(bodies);
}

std::string BuildPortraitPdf(const std::vector<std::string>& pages, const std::wstring& title) {
  const size_t count = std::max<size_t>(pages.size(), 1);
  // 1 catalog, 2 page tree, then each page and its content, the two fonts, the information.
  const size_t regular = 2 * count + 3;
  const size_t bold = regular + 1;
  const size_t info = bold + 1;
  std::vector<std::string> bodies(info);
  std::string kids;
  for (size_t p = 0; p < count; ++p) kids += Num(2 * p + 3) + " 0 R ";
  bodies[0] = "<< /Type /Catalog /Pages 2 0 R >>\n";
  bodies[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + Num(count) + " >>\n";
  for (size_t p = 0; p < count; ++p) {
    bodies[2 * p + 2] = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 " +
                        Num(regular) + " 0 R /F2 " + Num(bold) + " 0 R >> >> /Contents " + Num(2 * p + 4) + " 0 R >>\n";
    bodies[2 * p + 3] = StreamBody(p < pages.size() ? pages[p] : std::string());
  }
  bodies[regular - 1] = kFontBody;
  bodies[bold - 1] = kBoldFontBody;
  bodies[info - 1] = "<< /Title (" + EscapePdfText(platform::WideToWindows1252(title)) + ") /Producer (Velkor) >>\n";
  return AssembleDocument(bodies, info);
}

}  // namespace velkor
