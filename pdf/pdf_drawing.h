// Drawing operators for a PDF page's content stream, in the page's own coordinates (points, y
// upwards). Colours are 0xRRGGBB; text uses the page's font /F1 (Helvetica, WinAnsiEncoding).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velkor {

// A number as a PDF operand: at most two decimals, a point as decimal mark in every locale.
std::string PdfNumber(double value);

// A filled rectangle with its lower left corner at (x, y).
std::string PdfFillRect(double x, double y, double width, double height, uint32_t rgb);

// The outline of a rectangle.
std::string PdfStrokeRect(double x, double y, double width, double height, double lineWidth, uint32_t rgb);

// A line through the points; nothing for fewer than two.
std::string PdfPolyline(const std::vector<std::pair<double, double>>& points, double lineWidth, uint32_t rgb);

// One line of text with its baseline starting at (x, y), in the page's font resource font.
std::string PdfText(double x, double y, double size, const std::wstring& text, uint32_t rgb, const char* font = "/F1");

}  // namespace velkor
