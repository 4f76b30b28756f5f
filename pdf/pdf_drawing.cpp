#include "pdf/pdf_drawing.h"

#include <cmath>

#include "pdf/pdf_writer.h"
#include "platform/text.h"

namespace velkor {
namespace {

std::string Colour(uint32_t rgb, const char* op) {
  return PdfNumber(((rgb >> 16) & 0xFF) / 255.0) + " " + PdfNumber(((rgb >> 8) & 0xFF) / 255.0) + " " +
         PdfNumber((rgb & 0xFF) / 255.0) + " " + op + "\n";
}

}  // namespace

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) value = 0.0;
  long long hundredths = std::llround(value * 100.0);
  std::string text = hundredths < 0 ? "-" : "";
  if (hundredths < 0) hundredths = -hundredths;
  text += std::to_string(hundredths / 100);
  const long long rest = hundredths % 100;
  if (rest != 0) {
    text += '.';
    text += static_cast<char>('0' + rest / 10);
    if (rest % 10 != 0) text += static_cast<char>('0' + rest % 10);
  }
  return text;
}

std::string PdfFillRect(double x, double y, double width, double height, uint32_t rgb) {
  return Colour(rgb, "rg") + PdfNumber(x) + " " + PdfNumber(y) + " " + PdfNumber(width) + " " + PdfNumber(height) +
         " re f\n";
}

std::string PdfStrokeRect(double x, double y, double width, double height, double lineWidth, uint32_t rgb) {
  return Colour(rgb, "RG") + PdfNumber(lineWidth) + " w\n" + PdfNumber(x) + " " + PdfNumber(y) + " " +
         PdfNumber(width) + " " + PdfNumber(height) + " re S\n";
}

std::string PdfPolyline(const std::vector<std::pair<double, double>>& points, double lineWidth, uint32_t rgb) {
  if (points.size() < 2) return std::string();
  std::string ops = Colour(rgb, "RG") + PdfNumber(lineWidth) + " w\n1 J 1 j\n";
  for (size_t i = 0; i < points.size(); ++i) {
    ops += PdfNumber(points[i].first) + " " + PdfNumber(points[i].second) + (i == 0 ? " m\n" : " l\n");
  }
  return ops + "S\n";
}

std::string PdfText(double x, double y, double size, const std::wstring& text, uint32_t rgb, const char* font) {
  return Colour(rgb, "rg") + "BT\n" + font + " " + PdfNumber(size) + " Tf\n" + PdfNumber(x) + " " + PdfNumber(y) + " Td\n(" +
         EscapePdfText(platform::WideToWindows1252(text)) + ") Tj\nET\n";
}

}  // namespace velkor
