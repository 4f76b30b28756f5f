#include "ui/diagnosis_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/localization.h"
#include "common/paths.h"
#include "results/diagnosis_chart.h"
#include "ui/dpi.h"
#include "ui/window_state.h"
#include "view/dpi_scale.h"

namespace velkor {
namespace {

// The window and what it shows; user-interface thread only.
struct DiagnosisView {
  HWND window = nullptr;
  HFONT titleFont = nullptr;
  RunDiagnosis run;
};

DiagnosisView& View() {
  static DiagnosisView view;
  return view;
}

COLORREF Colour(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

int Px(double v) { return static_cast<int>(v + 0.5); }

// Sizes in 96-DPI units.
constexpr int kMinWidth = 560;
constexpr int kMinHeight = 380;

void Fill(HDC dc, const ChartBox& box, uint32_t rgb) {
  HBRUSH brush = CreateSolidBrush(Colour(rgb));
  RECT r{Px(box.x), Px(box.y), Px(box.x + box.width), Px(box.y + box.height)};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Polyline(HDC dc, const std::vector<ChartPoint>& points, int width, uint32_t rgb) {
  if (points.size() < 2) return;
  std::vector<POINT> pixels;
  for (const ChartPoint& p : points) pixels.push_back({Px(p.x), Px(p.y)});
  HPEN pen = CreatePen(PS_SOLID, width, Colour(rgb));
  HGDIOBJ old = SelectObject(dc, pen);
  ::Polyline(dc, pixels.data(), static_cast<int>(pixels.size()));
  SelectObject(dc, old);
  DeleteObject(pen);
}

void Text(HDC dc, const ChartPoint& at, const std::wstring& text) {
  TextOutW(dc, Px(at.x), Px(at.y), text.c_str(), static_cast<int>(text.size()));
}

void Legend(HDC dc, const std::vector<LegendEntry>& entries) {
  for (const LegendEntry& e : entries) {
    if (e.isLine) {
      Polyline(dc, {{e.swatch.x, e.swatch.y}, {e.swatch.x + e.swatch.width, e.swatch.y}}, 3, e.rgb);
    } else {
      Fill(dc, e.swatch, e.rgb);
    }
    Text(dc, e.text, e.label);
  }
}

void Paint(HDC dc, int width, int height) {
  const DiagnosisView& view = View();
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, Ui().font != nullptr ? Ui().font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const double line = (metrics.tmHeight + metrics.tmExternalLeading) * 1.35;
  const DiagnosisChart chart = LayoutDiagnosisChart(view.run, width, height, line, line, CurrentLanguage);

  if (view.titleFont != nullptr) SelectObject(dc, view.titleFont);
  Text(dc, chart.titleAt, chart.title);
  SelectObject(dc, Ui().font != nullptr ? Ui().font : GetStockObject(DEFAULT_GUI_FONT));
  if (!chart.findingLine.empty()) Text(dc, chart.findingAt, chart.findingLine);
  for (size_t i = 0; i < chart.cells.size(); ++i) {
    ChartBox cell = chart.cells[i];
    // A line of white between cells keeps single cells apart where they are large enough.
    if (cell.width >= 4) cell = {cell.x, cell.y, cell.width - 1, cell.height - 1};
    Fill(dc, cell, chart.cellColours[i]);
  }
  for (const auto& mark : chart.usableMark) Polyline(dc, mark, 3, kUsableMarkColour);
  Legend(dc, chart.legend);
  if (!chart.cellNote.empty()) Text(dc, chart.cellNoteAt, chart.cellNote);
  if (chart.plot.width > 0 && chart.plot.height > 0) {
    const ChartBox& p = chart.plot;
    for (int i = 1; i <= 2; ++i) {
      const double y = p.y + p.height * (1.0 - i / 2.0);
      Polyline(dc, {{p.x, y}, {p.x + p.width, y}}, 1, 0xD0D0D0);
    }
    Polyline(dc, {{p.x, p.y}, {p.x, p.y + p.height}, {p.x + p.width, p.y + p.height}}, 1, 0x000000);
    for (const auto& piece : chart.writeCurve) Polyline(dc, piece, 2, kWriteCurveColour);
    for (const auto& piece : chart.readCurve) Polyline(dc, piece, 2, kReadCurveColour);
    for (const SpeedAxisLabel& label : chart.axisLabels) Text(dc, label.at, label.text);
    Legend(dc, chart.speedLegend);
  }
  SelectObject(dc, oldFont);
}

// Drawn into a bitmap first, so resizing does not flicker.
LRESULT OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1);
  HGDIOBJ old = SelectObject(memory, bitmap);
  Paint(memory, width, height);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window, &ps);
  return 0;
}

LRESULT OnSize(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

// The smallest size in which map and curve stay readable, in the window's own DPI.
LRESULT OnGetMinMaxInfo(HWND window, LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const int dpi = WindowDpi(window);
  info->ptMinTrackSize.x = ScaleToDpi(kMinWidth, dpi);
  info->ptMinTrackSize.y = ScaleToDpi(kMinHeight, dpi);
  return 0;
}

// Moved to a screen of another DPI: the size Windows suggests for it.
LRESULT OnDpiChanged(HWND window, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT OnDestroy() {
  DiagnosisView& view = View();
  if (view.titleFont != nullptr) DeleteObject(view.titleFont);
  view.titleFont = nullptr;
  view.window = nullptr;
  return 0;
}

LRESULT CALLBACK DiagnosisWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return OnPaint(window);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: return OnSize(window);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(window, lParam);
    case WM_DPICHANGED: return OnDpiChanged(window, lParam);
    case WM_DESTROY: return OnDestroy();
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The caption and the drawing follow the interface language; the PDF export keeps German.
std::wstring WindowTitle() {
  const std::wstring title = Translate(L"diagnosis_title");
  const std::wstring& path = Ui().currentResultsPath;
  return path.empty() ? title : title + L" - " + FileNameOfPath(path);
}

}  // namespace

HWND DiagnosisWindow() { return View().window; }

void OpenDiagnosisWindow(HWND owner) {
  DiagnosisView& view = View();
  if (!HasDiagnosisPictures(Ui().currentDiagnosis)) return;
  view.run = Ui().currentDiagnosis;
  if (view.window != nullptr) {
    SetWindowTextW(view.window, WindowTitle().c_str());
    InvalidateRect(view.window, nullptr, FALSE);
    SetForegroundWindow(view.window);
    return;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW c{};
  c.lpfnWndProc = DiagnosisWindowProc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.lpszClassName = kDiagnosisWindowClass;
  if (!RegisterClassW(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
  LOGFONTW font{};
  if (Ui().font != nullptr && GetObjectW(Ui().font, sizeof font, &font) == sizeof font) {
    font.lfHeight = font.lfHeight * 3 / 2;
    font.lfWeight = FW_BOLD;
    view.titleFont = CreateFontIndirectW(&font);
  }
  // Over the main window, a little smaller than it; the floors and the offset at the main window's DPI.
  const int dpi = Ui().dpi > 0 ? Ui().dpi : 96;
  RECT area{0, 0, ScaleToDpi(1000, dpi), ScaleToDpi(640, dpi)};
  if (owner != nullptr) GetWindowRect(owner, &area);
  const int width = std::max<int>(ScaleToDpi(760, dpi), (area.right - area.left) * 9 / 10);
  const int height = std::max<int>(ScaleToDpi(520, dpi), (area.bottom - area.top) * 9 / 10);
  const int offset = ScaleToDpi(20, dpi);
  view.window = CreateWindowExW(0, kDiagnosisWindowClass, WindowTitle().c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                area.left + offset, area.top + offset, width, height, owner, nullptr, instance, nullptr);
}

void RefreshDiagnosisWindow() {
  DiagnosisView& view = View();
  if (view.window == nullptr) return;
  if (!HasDiagnosisPictures(Ui().currentDiagnosis)) {
    DestroyWindow(view.window);
    return;
  }
  view.run = Ui().currentDiagnosis;
  SetWindowTextW(view.window, WindowTitle().c_str());
  InvalidateRect(view.window, nullptr, FALSE);
}

}  // namespace velkor
