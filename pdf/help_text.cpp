#include "pdf/help_text.h"

#include <algorithm>

#include "common/localization.h"

namespace velkor {

HelpLine KindOfHelpLine(std::wstring_view line) {
  if (line.rfind(L"# ", 0) == 0) return HelpLine::kHeading;
  if (line.rfind(L"- ", 0) == 0) return HelpLine::kItem;
  if (line.rfind(L"| ", 0) == 0) return HelpLine::kRow;
  const size_t dot = line.find(L". ");
  if (dot != std::wstring_view::npos && dot > 0 && dot <= 2 &&
      line.substr(0, dot).find_first_not_of(L"0123456789") == std::wstring_view::npos) {
    return HelpLine::kStep;
  }
  return HelpLine::kParagraph;
}

std::wstring_view HelpLineText(std::wstring_view line) {
  switch (KindOfHelpLine(line)) {
    case HelpLine::kHeading:
    case HelpLine::kItem: return line.substr(2);
    case HelpLine::kStep: return line.substr(line.find(L". ") + 2);
    default: return line;
  }
}

std::vector<std::wstring_view> HelpTableCells(std::wstring_view row) {
  std::vector<std::wstring_view> cells;
  size_t at = 1;
  while (at < row.size()) {
    const size_t end = std::min(row.find(L" | ", at), row.size());
    std::wstring_view cell = row.substr(at, end - at);
    while (!cell.empty() && cell.front() == L' ') cell.remove_prefix(1);
    while (!cell.empty() && cell.back() == L' ') cell.remove_suffix(1);
    cells.push_back(cell);
    at = end + 2;
  }
  return cells;
}

HelpText HelpTextIn(int language) {
  switch (language) {
    case kLanguageEnglish: return EnglishHelpText();
    case kLanguageFrench: return FrenchHelpText();
    case kLanguageSpanish: return SpanishHelpText();
    default: return GermanHelpText();
  }
}

}  // namespace velkor
