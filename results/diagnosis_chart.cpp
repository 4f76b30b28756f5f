#include "results/diagnosis_chart.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "common/format.h"
#include "common/localization.h"

namespace velkor {
namespace {

constexpr BlockClass kLegendClasses[] = {BlockClass::kOk,      BlockClass::kOverwritten, BlockClass::kEmpty,
                                         BlockClass::kDamaged, BlockClass::kUnreadable,  BlockClass::kUnchecked};

// The cells' corners: cell i's top left, the grid going row by row.
ChartPoint Corner(const ChartBox& grid, uint32_t columns, double cell, size_t i) {
  return {grid.x + static_cast<double>(i % columns) * cell, grid.y + static_cast<double>(i / columns) * cell};
}

// The line between cells before `at` (usable) and the rest, cells going row by row: along the top
// of `at`'s row from its column on, down its left edge, and back along the bottom of the cells
// before it in that row, as far as cells lie below them. REQUIRES: 0 < at < count.
std::vector<ChartPoint> Staircase(const ChartBox& grid, uint32_t columns, double cell, size_t at, size_t count) {
  const size_t row = at / columns, column = at % columns;
  const double top = grid.y + static_cast<double>(row) * cell;
  const double x = grid.x + static_cast<double>(column) * cell;
  const double right = grid.x + static_cast<double>(std::min<size_t>(columns, count - row * columns)) * cell;
  std::vector<ChartPoint> line = {{right, top}, {x, top}};
  if (column == 0) {
    line.push_back({grid.x, top});
    return line;
  }
  line.push_back({x, top + cell});
  const size_t below = count > (row + 1) * columns ? std::min<size_t>(column, count - (row + 1) * columns) : 0;
  if (below > 0) line.push_back({grid.x, top + cell});
  return line;
}

std::vector<std::vector<ChartPoint>> Curve(const std::vector<double>& speeds, const ChartBox& plot, double top) {
  std::vector<std::vector<ChartPoint>> pieces;
  std::vector<ChartPoint> piece;
  for (size_t i = 0; i < speeds.size(); ++i) {
    if (speeds[i] <= 0.0) {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
      continue;
    }
    const double x = plot.x + (static_cast<double>(i) + 0.5) / static_cast<double>(kSpeedCurvePoints) * plot.width;
    const double y = plot.y + plot.height - std::min(speeds[i], top) / top * plot.height;
    piece.push_back({x, y});
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

}  // namespace

uint32_t BlockClassColour(BlockClass kind) {
  switch (kind) {
    case BlockClass::kOk: return 0x3DAA5C;
    case BlockClass::kOverwritten: return 0x8E44AD;
    case BlockClass::kEmpty: return 0xF2C94C;
    case BlockClass::kDamaged: return 0xD93B2B;
    case BlockClass::kUnreadable: return 0x2B2B2B;
    default: return 0xDDDDDD;
  }
}

double SpeedAxisTop(const SpeedCurve& curve) {
  double fastest = 0.0;
  for (const std::vector<double>* side : {&curve.write, &curve.read}) {
    for (double v : *side) fastest = std::max(fastest, v);
  }
  if (fastest <= 0.0) return 1.0;
  for (double power = std::pow(10.0, std::floor(std::log10(fastest)));; power *= 10.0) {
    for (double step : {1.0, 2.0, 5.0}) {
      if (step * power >= fastest) return step * power;
    }
  }
}

uint32_t MapColumns(size_t cells) {
  uint32_t columns = 1;
  while (static_cast<size_t>(columns) * columns < cells) ++columns;
  return columns;
}

DiagnosisChart LayoutDiagnosisChart(const RunDiagnosis& run, double width, double height, double lineHeight,
                                    double margin, int language) {
  DiagnosisChart chart;
  const Diagnosis& d = run.diagnosis;
  const bool hasMap = d.present && !d.cells.empty();
  const bool hasSpeed = !run.speedCurve.write.empty() || !run.speedCurve.read.empty();
  chart.title = TranslateIn(L"diagnosis_title", language);
  chart.titleAt = {margin, margin};
  double top = margin + 1.5 * lineHeight;
  if (hasMap) {
    chart.findingLine = FormatTextIn(L"chart_finding_line", language,
                                     {DiagnosisFindingText(d, language), UsableCapacityText(d, language)});
    chart.findingAt = {margin, top};
    top += lineHeight;
  } else if (hasSpeed) {
    // No map because nothing was bad: said, not left to be guessed. Only a read-back over the
    // whole test speaks for every block.
    const std::vector<double>& read = run.speedCurve.read;
    const bool wholeTest = !read.empty() && std::all_of(read.begin(), read.end(), [](double v) { return v > 0; });
    chart.findingLine = TranslateIn(wholeTest ? L"chart_all_intact" : L"chart_checked_intact", language);
    chart.findingAt = {margin, top};
    top += lineHeight;
  }
  top += lineHeight;
  const double bodyHeight = std::max(0.0, height - margin - top);
  const double halfWidth = (width - 3 * margin) / 2;

  double speedLeft = margin;
  if (hasMap) {
    const size_t n = d.cells.size();
    const uint32_t columns = MapColumns(n);
    const size_t rows = (n + columns - 1) / columns;
    const double legendHeight = 5 * lineHeight;
    const double side = std::max(0.0, std::min(hasSpeed ? halfWidth : width - 2 * margin, bodyHeight - legendHeight));
    const double cell = side / std::max<size_t>(columns, rows);
    const ChartBox grid{margin, top, cell * columns, cell * static_cast<double>(rows)};
    for (size_t i = 0; i < n; ++i) {
      const ChartPoint corner = Corner(grid, columns, cell, i);
      chart.cells.push_back({corner.x, corner.y, cell, cell});
      chart.cellColours.push_back(BlockClassColour(d.cells[i]));
    }
    // In device order the capacity is an offset on the medium, not a share of the test: the
    // engine names the cell. In the files' order it counts intact blocks wherever they lie, so a
    // line there only where those blocks are the ones before it (a wrapping fake's survivors are
    // the last ones written).
    if (d.deviceOrder ? !d.partial : (!d.partial && d.testBytes > 0 && d.usableBytes < d.testBytes)) {
      const size_t at = d.deviceOrder ? d.markCell
                                      : static_cast<size_t>(std::llround(static_cast<double>(d.usableBytes) /
                                                                         static_cast<double>(d.testBytes) * static_cast<double>(n)));
      const bool intactBefore =
          d.deviceOrder || std::all_of(d.cells.begin(), d.cells.begin() + static_cast<std::ptrdiff_t>(std::min(at, n)),
                                       [](BlockClass c) { return c == BlockClass::kOk; });
      if (at > 0 && at < n && intactBefore) chart.usableMark.push_back(Staircase(grid, columns, cell, at, n));
    }
    // The legend: two columns of three classes, then the mark and the cell's size.
    const double legendTop = grid.y + grid.height + 0.5 * lineHeight;
    const double swatch = 0.7 * lineHeight;
    const double columnWidth = std::max(grid.width / 2, 9 * lineHeight);
    for (size_t k = 0; k < std::size(kLegendClasses); ++k) {
      LegendEntry e;
      const double x = margin + static_cast<double>(k / 3) * columnWidth;
      const double y = legendTop + static_cast<double>(k % 3) * lineHeight;
      e.swatch = {x, y + 0.15 * lineHeight, swatch, swatch};
      e.text = {x + swatch + 0.4 * lineHeight, y};
      e.rgb = BlockClassColour(kLegendClasses[k]);
      e.label = BlockClassText(kLegendClasses[k], language);
      chart.legend.push_back(e);
    }
    LegendEntry mark;  // without an estimate the line stays in the legend, to say there is none
    const double markY = legendTop + 3 * lineHeight;
    mark.swatch = {margin, markY + 0.5 * lineHeight, 1.4 * lineHeight, 0};
    mark.text = {margin + 1.8 * lineHeight, markY};
    mark.rgb = kUsableMarkColour;
    mark.label = FormatTextIn(L"chart_limit", language, {UsableCapacityText(d, language)});
    mark.isLine = true;
    chart.legend.push_back(mark);
    chart.cellNote = FormatTextIn(d.deviceOrder ? L"chart_cell_note_device" : L"chart_cell_note", language,
                                  {FormatByteSize(d.testBytes / n)});
    chart.cellNoteAt = {margin, legendTop + 4 * lineHeight};
    speedLeft = margin + (hasSpeed ? halfWidth + margin : 0);
  }

  if (hasSpeed) {
    const double boxWidth = hasMap ? width - margin - speedLeft : width - 2 * margin;
    // Room for the axis labels on the left and below, and for the curves' legend above.
    const double left = speedLeft + 4.5 * lineHeight;
    const double plotTop = top + 1.5 * lineHeight;
    // The "100 %" under the right end needs half its width beside the plot.
    chart.plot = {left, plotTop, std::max(0.0, speedLeft + boxWidth - left - 1.5 * lineHeight),
                  std::max(0.0, top + bodyHeight - 2.5 * lineHeight - plotTop)};
    chart.axisMax = SpeedAxisTop(run.speedCurve);
    chart.writeCurve = Curve(run.speedCurve.write, chart.plot, chart.axisMax);
    chart.readCurve = Curve(run.speedCurve.read, chart.plot, chart.axisMax);
    for (int i = 0; i <= 2; ++i) {
      const double value = chart.axisMax * i / 2;
      const double y = chart.plot.y + chart.plot.height * (1.0 - i / 2.0) - 0.5 * lineHeight;
      chart.axisLabels.push_back({{speedLeft, y}, FormatDecimal2(value).substr(0, FormatDecimal2(value).size() - 3)});
    }
    chart.axisLabels.push_back({{speedLeft, plotTop - 1.5 * lineHeight}, TranslateIn(L"col_mbps", language)});
    for (int p = 0; p <= 100; p += 25) {
      chart.axisLabels.push_back(
          {{chart.plot.x + chart.plot.width * p / 100 - 0.6 * lineHeight, chart.plot.y + chart.plot.height + 0.3 * lineHeight},
           std::to_wstring(p) + L" %"});
    }
    chart.axisLabels.push_back({{chart.plot.x, chart.plot.y + chart.plot.height + 1.3 * lineHeight},
                                TranslateIn(L"chart_position", language)});
    double x = chart.plot.x + 2 * lineHeight;
    for (const auto& [label, rgb, side] :
         {std::tuple{TranslateIn(L"chart_write", language), kWriteCurveColour, &run.speedCurve.write},
          std::tuple{TranslateIn(L"chart_read", language), kReadCurveColour, &run.speedCurve.read}}) {
      if (side->empty()) continue;
      LegendEntry e;
      e.swatch = {x, plotTop - lineHeight, 1.4 * lineHeight, 0};
      e.text = {x + 1.8 * lineHeight, plotTop - 1.5 * lineHeight};
      e.rgb = rgb;
      e.label = label;
      e.isLine = true;
      chart.speedLegend.push_back(e);
      x += 7 * lineHeight;
    }
  }
  return chart;
}

}  // namespace velkor
