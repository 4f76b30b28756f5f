// The pictures of a run's diagnosis, as geometry both the PDF page and the window draw: the block
// map (a grid of coloured cells with the usable capacity marked), its legend, and the write and
// read speed curves over the test. Coordinates grow right and down from the drawing's top left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "results/diagnosis.h"

namespace velkor {

struct ChartPoint {
  double x = 0.0;
  double y = 0.0;
};

struct ChartBox {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

// A coloured square and its text.
struct LegendEntry {
  ChartBox swatch;
  ChartPoint text;  // the text's top left
  uint32_t rgb = 0;
  std::wstring label;
  bool isLine = false;  // the usable-capacity mark: a line, not a filled square
};

struct SpeedAxisLabel {
  ChartPoint at;  // the label's top left
  std::wstring text;
};

struct DiagnosisChart {
  std::wstring title;        // "Blockkarte und Geschwindigkeit"
  // "Befund: ... Nutzbare Kapazität (geschätzt): ..."; without a map, that the blocks read back
  // came back intact (all of them when the read-back covered the whole test); empty without either.
  std::wstring findingLine;
  ChartPoint titleAt, findingAt;
  // The map, empty without a diagnosis.
  std::vector<ChartBox> cells;
  std::vector<uint32_t> cellColours;
  std::vector<std::vector<ChartPoint>> usableMark;  // the line between usable and unusable cells
  std::wstring cellNote;                            // "Eine Zelle: 1.0 MB"
  ChartPoint cellNoteAt;
  std::vector<LegendEntry> legend;
  // The speeds, empty without a speed curve.
  ChartBox plot;  // the curves' area, with axes along its left and bottom edges
  double axisMax = 0.0;  // MB/s at the top of the plot
  std::vector<std::vector<ChartPoint>> writeCurve, readCurve;  // split where nothing was measured
  std::vector<SpeedAxisLabel> axisLabels;
  std::vector<LegendEntry> speedLegend;
};

// Colours, 0xRRGGBB.
uint32_t BlockClassColour(BlockClass kind);
inline constexpr uint32_t kWriteCurveColour = 0x1F5FBF;
inline constexpr uint32_t kReadCurveColour = 0xE07B10;
inline constexpr uint32_t kUsableMarkColour = 0x000000;

// The chart for a drawing of width x height, with lineHeight for a line of its text and margin
// around it. The map takes the left part and the curves the right one; either takes the whole
// width when the other is missing. Its texts in language: the window's, German in the PDF export.
DiagnosisChart LayoutDiagnosisChart(const RunDiagnosis& run, double width, double height, double lineHeight,
                                    double margin, int language = kLanguageGerman);

// The top of the speed axis: the smallest 1, 2 or 5 times a power of ten at or above the fastest
// speed; 1 when nothing was measured.
double SpeedAxisTop(const SpeedCurve& curve);

// Grid columns for a map of n cells: about square.
uint32_t MapColumns(size_t cells);

}  // namespace velkor
