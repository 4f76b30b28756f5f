#include "pdf/help_pdf.h"

#include "pdf/file_writers.h"
#include "pdf/help_text.h"
#include "pdf/pdf_writer.h"

namespace velkor {
namespace {

constexpr size_t kWidth = 80;
constexpr size_t kLinesPerPage = 42;

// text broken at blanks into lines of at most kWidth characters: the first starts with lead, the
// others with as many blanks (a hanging indent under a list marker).
void Wrap(std::vector<std::wstring>& out, std::wstring_view lead, std::wstring_view text) {
  const std::wstring indent(lead.size(), L' ');
  std::wstring line(lead);
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(L' ', at);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view word = text.substr(at, end - at);
    bool empty = line.size() == lead.size();  // nothing after the lead or indent yet
    if (!empty && line.size() + 1 + word.size() > kWidth) {
      out.push_back(line);
      line = indent;
      empty = true;
    }
    if (!empty) line += L' ';
    line += word;
    at = end + 1;
  }
  out.push_back(line);
}

}  // namespace

std::vector<std::wstring> BuildHelpTextLines(int language) {
  const HelpText help = HelpTextIn(language);
  std::vector<std::wstring> lines;
  lines.push_back(help.title);
  lines.push_back(std::wstring(std::wstring_view(help.title).size(), L'='));
  lines.emplace_back();
  Wrap(lines, L"", help.subtitle);
  for (size_t i = 0; i < help.lineCount; ++i) {
    const std::wstring_view line = help.lines[i];
    switch (KindOfHelpLine(line)) {
      case HelpLine::kHeading:
        // A heading never sits alone at the foot of a page.
        lines.emplace_back();
        if (lines.size() % kLinesPerPage > kLinesPerPage - 3) lines.resize((lines.size() / kLinesPerPage + 1) * kLinesPerPage);
        lines.emplace_back(HelpLineText(line));
        lines.push_back(std::wstring(HelpLineText(line).size(), L'-'));
        break;
      case HelpLine::kItem: Wrap(lines, L"- ", HelpLineText(line)); break;
      case HelpLine::kStep: Wrap(lines, std::wstring(line.substr(0, line.find(L". ") + 2)), HelpLineText(line)); break;
      case HelpLine::kRow: {
        // The header row names the columns; the plain text shows each row as "name: meaning".
        if (i > 0 && KindOfHelpLine(help.lines[i - 1]) == HelpLine::kRow) {
          const std::vector<std::wstring_view> cells = HelpTableCells(line);
          std::wstring text(cells.empty() ? std::wstring_view() : cells[0]);
          if (cells.size() > 1) text += L": " + std::wstring(cells[1]);
          Wrap(lines, L"- ", text);
        }
        break;
      }
      case HelpLine::kParagraph: Wrap(lines, L"", line); break;
    }
  }
  return lines;
}

bool WriteHelpPdf(const std::wstring& path, int language) {
  return WriteBinaryFile(path, BuildHelpPdf(BuildHelpTextLines(language)));
}

}  // namespace velkor
