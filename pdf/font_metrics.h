// How wide text is in the PDF standard fonts the documents use, so lines can be broken to a width.
#pragma once

#include <cstdint>
#include <string_view>

namespace velkor {

enum class PdfFont { kRegular, kBold };  // Helvetica, Helvetica-Bold

// The advance width in points of text set at size (points).
double TextWidth(std::string_view windows1252, double size, PdfFont font);
double TextWidth(std::wstring_view text, double size, PdfFont font);

}  // namespace velkor
