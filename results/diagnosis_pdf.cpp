#include "results/diagnosis_pdf.h"

#include <utility>
#include <vector>

#include "pdf/pdf_drawing.h"
#include "results/diagnosis_chart.h"

namespace velkor {
namespace {

constexpr double kPageWidth = 842;
constexpr double kPageHeight = 595;
constexpr double kLine = 13;
constexpr double kFontSize = 9;

// The chart's y grows downwards from the top, the page's upwards from the bottom.
double PageY(double y) { return kPageHeight - y; }

std::string Text(const ChartPoint& topLeft, const std::wstring& text, double size = kFontSize, uint32_t rgb = 0) {
  return PdfText(topLeft.x, PageY(topLeft.y + 0.8 * kLine), size, text, rgb);
}

std::string Line(const std::vector<ChartPoint>& points, double width, uint32_t rgb) {
  std::vector<std::pair<double, double>> page;
  for (const ChartPoint& p : points) page.emplace_back(p.x, PageY(p.y));
  return PdfPolyline(page, width, rgb);
}

std::string Legend(const std::vector<LegendEntry>& entries) {
  std::string ops;
  for (const LegendEntry& e : entries) {
    if (e.isLine) {
      ops += Line({{e.swatch.x, e.swatch.y}, {e.swatch.x + e.swatch.width, e.swatch.y}}, 2, e.rgb);
    } else {
      ops += PdfFillRect(e.swatch.x, PageY(e.swatch.y + e.swatch.height), e.swatch.width, e.swatch.height, e.rgb);
      ops += PdfStrokeRect(e.swatch.x, PageY(e.swatch.y + e.swatch.height), e.swatch.width, e.swatch.height, 0.3,
                           0x808080);
    }
    ops += Text(e.text, e.label);
  }
  return ops;
}

}  // namespace

std::string BuildDiagnosisPdfPage(const RunDiagnosis& run) {
  if (!HasDiagnosisPictures(run)) return std::string();
  const DiagnosisChart chart = LayoutDiagnosisChart(run, kPageWidth, kPageHeight, kLine, 40);
  std::string ops = Text(chart.titleAt, L"Velkor " + chart.title, 14);
  if (!chart.findingLine.empty()) ops += Text(chart.findingAt, chart.findingLine);
  for (size_t i = 0; i < chart.cells.size(); ++i) {
    const ChartBox& c = chart.cells[i];
    // A hair of white between cells keeps single cells apart.
    ops += PdfFillRect(c.x + 0.25, PageY(c.y + c.height) + 0.25, c.width - 0.5, c.height - 0.5, chart.cellColours[i]);
  }
  for (const std::vector<ChartPoint>& mark : chart.usableMark) ops += Line(mark, 2.5, kUsableMarkColour);
  ops += Legend(chart.legend);
  if (!chart.cellNote.empty()) ops += Text(chart.cellNoteAt, chart.cellNote);
  if (chart.plot.width > 0 && chart.plot.height > 0) {
    const ChartBox& p = chart.plot;
    for (int i = 1; i <= 2; ++i) {
      const double y = p.y + p.height * (1.0 - i / 2.0);
      ops += Line({{p.x, y}, {p.x + p.width, y}}, 0.3, 0xC0C0C0);
    }
    ops += Line({{p.x, p.y}, {p.x, p.y + p.height}, {p.x + p.width, p.y + p.height}}, 0.8, 0x000000);
    for (const auto& piece : chart.writeCurve) ops += Line(piece, 1.2, kWriteCurveColour);
    for (const auto& piece : chart.readCurve) ops += Line(piece, 1.2, kReadCurveColour);
    for (const SpeedAxisLabel& label : chart.axisLabels) ops += Text(label.at, label.text, 8);
    ops += Legend(chart.speedLegend);
  }
  return ops;
}

}  // namespace velkor
