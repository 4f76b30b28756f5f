// The help laid out as a printed document: portrait A4 pages with the title, the sections'
// headings, paragraphs set over the page's width, lists and ruled tables, and a page number in the
// foot. Pure: the pages are placed texts and rectangles, which the PDF writer draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/font_metrics.h"
#include "pdf/help_text.h"

namespace velkor {

inline constexpr double kHelpPageWidth = 595;   // A4 in points
inline constexpr double kHelpPageHeight = 842;
inline constexpr double kHelpMargin = 56;       // left and right, about 2 cm
inline constexpr double kHelpTopMargin = 60;
inline constexpr double kHelpBottomMargin = 64;  // the foot line sits below it

struct PlacedText {
  double x = 0;  // the baseline's start
  double y = 0;
  double size = 0;
  PdfFont font = PdfFont::kRegular;
  uint32_t rgb = 0;
  std::wstring text;
  bool repeated = false;  // a table's header row again after a page break
};

struct PlacedRect {  // filled; a rule is a thin one
  double x = 0;
  double y = 0;  // lower left corner
  double width = 0;
  double height = 0;
  uint32_t rgb = 0;
};

struct HelpPage {
  std::vector<PlacedRect> rects;  // drawn first, under the texts
  std::vector<PlacedText> texts;  // in reading order
};

std::vector<HelpPage> LayOutHelp(const HelpText& help);

// text broken at blanks into lines no wider than width at size; a word wider than a whole line is
// cut where it must be.
std::vector<std::wstring> BreakLines(const std::wstring& text, double width, double size, PdfFont font);

}  // namespace velkor
