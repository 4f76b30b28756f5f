#include "pdf/help_layout.h"

#include <algorithm>
#include <string_view>

namespace velkor {
namespace {

constexpr double kRight = kHelpPageWidth - kHelpMargin;
constexpr double kTextWidth = kRight - kHelpMargin;
constexpr double kPageTop = kHelpPageHeight - kHelpTopMargin;

constexpr double kBodySize = 10.5;
constexpr double kBodyLeading = 14.5;
constexpr double kTableSize = 9.5;
constexpr double kTableLeading = 12.5;
constexpr double kCellPad = 4;
constexpr double kListIndent = 18;  // where a list item's text starts

// The colours of the HTML page, so both help files look alike.
constexpr uint32_t kInk = 0x111111;
constexpr uint32_t kQuiet = 0x555555;
constexpr uint32_t kHeaderBand = 0xE4EEFB;
constexpr uint32_t kHeaderRule = 0x7F9DB9;
constexpr uint32_t kHeadingRule = 0xC8C8C8;
constexpr uint32_t kTableHead = 0xE9EEF7;
constexpr uint32_t kTableRule = 0xC6C6C6;

struct Writer {
  std::vector<HelpPage> pages;
  double y = kPageTop;  // the top of what comes next

  Writer() { pages.emplace_back(); }

  bool AtTop() const { return y >= kPageTop; }
  // Starts a new page unless height still fits on this one (or nothing is on it yet).
  bool Need(double height) {
    if (y - height >= kHelpBottomMargin || AtTop()) return false;
    pages.emplace_back();
    y = kPageTop;
    return true;
  }
  void Text(double x, double baseline, double size, PdfFont font, uint32_t rgb, std::wstring text) {
    pages.back().texts.push_back({x, baseline, size, font, rgb, std::move(text), false});
  }
  void Rect(double x, double bottom, double width, double height, uint32_t rgb) {
    pages.back().rects.push_back({x, bottom, width, height, rgb});
  }
  // One line box of leading: returns its baseline.
  double Line(double leading, double size) {
    y -= leading;
    return y + (leading - size) / 2 + 0.22 * size;
  }
  // Lines at x, a page break allowed between any two.
  void Lines(const std::vector<std::wstring>& lines, double x, double size, PdfFont font) {
    for (const std::wstring& line : lines) {
      Need(kBodyLeading);
      Text(x, Line(kBodyLeading, size), size, font, kInk, line);
    }
  }
};

void TitleBlock(Writer& w, const HelpText& help) {
  const std::vector<std::wstring> subtitle = BreakLines(help.subtitle, kTextWidth - 24, 11, PdfFont::kRegular);
  const double height = 14 + 30 + subtitle.size() * 15.0 + 12;
  w.Rect(kHelpMargin, w.y - height, kTextWidth, height, kHeaderBand);
  w.Rect(kHelpMargin, w.y - height, kTextWidth, 1, kHeaderRule);
  w.y -= 14;
  w.Text(kHelpMargin + 12, w.Line(30, 22), 22, PdfFont::kBold, kInk, help.title);
  for (const std::wstring& line : subtitle) w.Text(kHelpMargin + 12, w.Line(15, 11), 11, PdfFont::kRegular, kInk, line);
  w.y -= 12 + 6;
}

// follow: the height of what must stay on the heading's page with it.
void Heading(Writer& w, std::wstring_view text, double follow) {
  constexpr double kBefore = 16;
  constexpr double kHeight = 20;
  if (!w.Need(kBefore + kHeight + 9 + follow)) w.y -= kBefore;
  const std::vector<std::wstring> lines = BreakLines(std::wstring(text), kTextWidth, 14, PdfFont::kBold);
  for (const std::wstring& line : lines) w.Text(kHelpMargin, w.Line(kHeight, 14), 14, PdfFont::kBold, kInk, line);
  w.y -= 3;
  w.Rect(kHelpMargin, w.y, kTextWidth, 0.6, kHeadingRule);
  w.y -= 6;
}

void Paragraph(Writer& w, std::wstring_view text) {
  const std::vector<std::wstring> lines = BreakLines(std::wstring(text), kTextWidth, kBodySize, PdfFont::kRegular);
  w.Need(std::min<size_t>(lines.size(), 2) * kBodyLeading);  // no single line alone at a page's foot
  w.Lines(lines, kHelpMargin, kBodySize, PdfFont::kRegular);
  w.y -= 6;
}

// A list item or a step: its marker on the first line, the text hanging beside it.
void ListEntry(Writer& w, std::wstring_view marker, std::wstring_view text) {
  const std::vector<std::wstring> lines =
      BreakLines(std::wstring(text), kTextWidth - kListIndent, kBodySize, PdfFont::kRegular);
  w.Need(kBodyLeading);
  const double baseline = w.y - kBodyLeading + (kBodyLeading - kBodySize) / 2 + 0.22 * kBodySize;
  const std::wstring mark(marker);
  const double markWidth = TextWidth(mark, kBodySize, PdfFont::kRegular);
  w.Text(kHelpMargin + kListIndent - 5 - markWidth, baseline, kBodySize, PdfFont::kRegular, kInk, mark);
  w.Lines(lines, kHelpMargin + kListIndent, kBodySize, PdfFont::kRegular);
  w.y -= 2;
}

// Each column gets what its widest cell needs while that fits; the columns that need more share
// what is left equally.
std::vector<double> ColumnWidths(const std::vector<std::vector<std::wstring>>& rows, size_t columns) {
  std::vector<double> natural(columns, 0);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < columns && c < rows[r].size(); ++c) {
      const PdfFont font = r == 0 ? PdfFont::kBold : PdfFont::kRegular;
      natural[c] = std::max(natural[c], TextWidth(rows[r][c], kTableSize, font) + 2 * kCellPad + 1);
    }
  }
  std::vector<double> widths(columns, 0);
  std::vector<bool> settled(columns, false);
  double left = kTextWidth;
  for (size_t open = columns; open > 0;) {
    const double share = left / static_cast<double>(open);
    bool changed = false;
    for (size_t c = 0; c < columns; ++c) {
      if (!settled[c] && natural[c] <= share) {
        widths[c] = natural[c];
        settled[c] = true;
        left -= natural[c];
        --open;
        changed = true;
      }
    }
    if (!changed) {
      for (size_t c = 0; c < columns; ++c) {
        if (!settled[c]) widths[c] = share;
      }
      break;
    }
  }
  // A table spans the text's width: what is spare goes to the last column.
  double used = 0;
  for (double width : widths) used += width;
  if (columns > 0 && used < kTextWidth) widths.back() += kTextWidth - used;
  return widths;
}

void TableRow(Writer& w, const std::vector<std::wstring>& cells, const std::vector<double>& widths, bool header,
              bool repeated = false) {
  const PdfFont font = header ? PdfFont::kBold : PdfFont::kRegular;
  std::vector<std::vector<std::wstring>> lines;
  size_t most = 1;
  for (size_t c = 0; c < widths.size(); ++c) {
    lines.push_back(c < cells.size() ? BreakLines(cells[c], widths[c] - 2 * kCellPad, kTableSize, font)
                                     : std::vector<std::wstring>{});
    most = std::max(most, lines.back().size());
  }
  const double height = static_cast<double>(most) * kTableLeading + 2 * kCellPad;
  const double top = w.y;
  const double bottom = top - height;
  if (header) w.Rect(kHelpMargin, bottom, kTextWidth, height, kTableHead);
  if (header) w.Rect(kHelpMargin, top - 0.5, kTextWidth, 0.5, kTableRule);  // the rows below share their rules
  w.Rect(kHelpMargin, bottom, kTextWidth, 0.5, kTableRule);
  double x = kHelpMargin;
  for (size_t c = 0; c < widths.size(); ++c) {
    w.Rect(x, bottom, 0.5, height, kTableRule);
    for (size_t i = 0; i < lines[c].size(); ++i) {
      const double lineTop = top - kCellPad - static_cast<double>(i) * kTableLeading;
      const double baseline = lineTop - kTableLeading + (kTableLeading - kTableSize) / 2 + 0.22 * kTableSize;
      w.Text(x + kCellPad + 0.5, baseline, kTableSize, font, kInk, lines[c][i]);
      w.pages.back().texts.back().repeated = repeated;
    }
    x += widths[c];
  }
  w.Rect(kRight - 0.5, bottom, 0.5, height, kTableRule);
  w.y = bottom;
}

double RowHeight(const std::vector<std::wstring>& cells, const std::vector<double>& widths, PdfFont font) {
  size_t most = 1;
  for (size_t c = 0; c < widths.size() && c < cells.size(); ++c) {
    most = std::max(most, BreakLines(cells[c], widths[c] - 2 * kCellPad, kTableSize, font).size());
  }
  return static_cast<double>(most) * kTableLeading + 2 * kCellPad;
}

// The header and the first row: a table never starts with less on a page.
double TableStartHeight(const std::vector<std::vector<std::wstring>>& rows) {
  if (rows.empty()) return 0;
  const std::vector<double> widths = ColumnWidths(rows, rows.front().size());
  return 2 + RowHeight(rows.front(), widths, PdfFont::kBold) +
         (rows.size() > 1 ? RowHeight(rows[1], widths, PdfFont::kRegular) : 0);
}

// A table that goes on over a page break repeats its header row there.
void Table(Writer& w, const std::vector<std::vector<std::wstring>>& rows) {
  if (rows.empty()) return;
  const std::vector<double> widths = ColumnWidths(rows, rows.front().size());
  w.Need(TableStartHeight(rows));
  w.y -= 2;
  TableRow(w, rows.front(), widths, true);
  for (size_t r = 1; r < rows.size(); ++r) {
    if (w.Need(RowHeight(rows[r], widths, PdfFont::kRegular))) TableRow(w, rows.front(), widths, true, true);
    TableRow(w, rows[r], widths, false);
  }
  w.y -= 10;
}

std::vector<std::vector<std::wstring>> TableAt(const HelpText& help, size_t first) {
  std::vector<std::vector<std::wstring>> rows;
  for (size_t i = first; i < help.lineCount && KindOfHelpLine(help.lines[i]) == HelpLine::kRow; ++i) {
    std::vector<std::wstring> cells;
    for (std::wstring_view cell : HelpTableCells(help.lines[i])) cells.emplace_back(cell);
    rows.push_back(std::move(cells));
  }
  return rows;
}

// What must share a page with a heading: the start of the line after it.
double StartHeight(const HelpText& help, size_t i) {
  if (i >= help.lineCount) return 0;
  const std::wstring_view line = help.lines[i];
  switch (KindOfHelpLine(line)) {
    case HelpLine::kRow: return TableStartHeight(TableAt(help, i));
    case HelpLine::kParagraph: {
      const size_t lines = BreakLines(std::wstring(line), kTextWidth, kBodySize, PdfFont::kRegular).size();
      return static_cast<double>(std::min<size_t>(lines, 2)) * kBodyLeading;
    }
    default: return 2 * kBodyLeading;
  }
}

// The foot of every page: the document's title and "page / pages".
void PageFeet(Writer& w, const HelpText& help) {
  const size_t count = w.pages.size();
  for (size_t p = 0; p < count; ++p) {
    HelpPage& page = w.pages[p];
    const double baseline = kHelpBottomMargin - 30;
    page.rects.push_back({kHelpMargin, baseline + 12, kTextWidth, 0.5, kHeadingRule});
    page.texts.push_back({kHelpMargin, baseline, 8.5, PdfFont::kRegular, kQuiet, help.title, false});
    const std::wstring number = std::to_wstring(p + 1) + L" / " + std::to_wstring(count);
    page.texts.push_back(
        {kRight - TextWidth(number, 8.5, PdfFont::kRegular), baseline, 8.5, PdfFont::kRegular, kQuiet, number, false});
  }
}

}  // namespace

namespace {

// French sets a blank before these; a line must not start with them.
bool IsTrailingPunctuation(const std::wstring& word) {
  return !word.empty() && word.find_first_not_of(L":;!?\x00BB") == std::wstring::npos;
}

// The text's words, each with the punctuation that follows it after a blank.
std::vector<std::wstring> Words(const std::wstring& text) {
  std::vector<std::wstring> words;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find(L' ', at);
    if (end == std::wstring::npos) end = text.size();
    std::wstring word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (IsTrailingPunctuation(word) && !words.empty()) {
      words.back() += L' ' + word;
    } else {
      words.push_back(std::move(word));
    }
  }
  return words;
}

}  // namespace

std::vector<std::wstring> BreakLines(const std::wstring& text, double width, double size, PdfFont font) {
  std::vector<std::wstring> lines;
  std::wstring line;
  const auto fits = [&](const std::wstring& candidate) { return TextWidth(candidate, size, font) <= width; };
  for (std::wstring& word : Words(text)) {
    if (!line.empty() && fits(line + L' ' + word)) {
      line += L' ' + word;
      continue;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    line.clear();
    // A word wider than a line (a long path) is cut: as much as fits on each line.
    while (!fits(word)) {
      size_t keep = 1;
      while (keep < word.size() && fits(word.substr(0, keep + 1))) ++keep;
      lines.push_back(word.substr(0, keep));
      word.erase(0, keep);
    }
    line = std::move(word);
  }
  if (!line.empty() || lines.empty()) lines.push_back(std::move(line));
  return lines;
}

std::vector<HelpPage> LayOutHelp(const HelpText& help) {
  Writer w;
  TitleBlock(w, help);
  HelpLine previous = HelpLine::kParagraph;
  for (size_t i = 0; i < help.lineCount; ++i) {
    const std::wstring_view line = help.lines[i];
    const HelpLine kind = KindOfHelpLine(line);
    if ((previous == HelpLine::kItem || previous == HelpLine::kStep) && kind != previous) w.y -= 4;
    switch (kind) {
      case HelpLine::kHeading: Heading(w, HelpLineText(line), StartHeight(help, i + 1)); break;
      case HelpLine::kItem: ListEntry(w, L"\x2022", HelpLineText(line)); break;
      case HelpLine::kStep: ListEntry(w, line.substr(0, line.find(L". ") + 1), HelpLineText(line)); break;
      case HelpLine::kRow: {
        const std::vector<std::vector<std::wstring>> rows = TableAt(help, i);
        Table(w, rows);
        i += rows.size() - 1;
        break;
      }
      case HelpLine::kParagraph: Paragraph(w, line); break;
    }
    previous = kind;
  }
  PageFeet(w, help);
  return std::move(w.pages);
}

}  // namespace velkor
