#include "ui/diagnosis_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/localization.h"
#include "common/paths.h"
#include "results/diagnosis_chart.h"
#include "results/evidence.h"
#include "ui/dpi.h"
#include "ui/window_state.h"
#include "view/dpi_scale.h"

namespace velkor {
namespace {

// The window and what it shows; user-interface thread only.
struct DiagnosisView {
  HWND window = nullptr;
  HWND summary = nullptr;  // the read-only text a screen reader reads: finding, usable capacity, counts
  HFONT font = nullptr;    // both at fontDpi, the window's own screen's
  HFONT titleFont = nullptr;
  HWND tooltip = nullptr;  // the results file's name over the window
  std::wstring fileName;   // its text; the tooltip keeps a pointer to it
  int fontDpi = 0;
  bool highContrast = false;  // read once per paint
  RunDiagnosis run;
};

DiagnosisView& View() {
  static DiagnosisView view;
  return view;
}

COLORREF Colour(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The user's high-contrast theme is on: the drawing takes the theme's colours and tells the block
// classes apart by pattern, not by a colour of its own.
int gHighContrastOverride = -1;

bool HighContrast() {
  if (gHighContrastOverride >= 0) return gHighContrastOverride != 0;
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A colour of the drawing in high contrast: the map's classes and the curves by the system's
// colours (the hatch patterns in Fill tell the classes apart).
uint32_t ThemeColour(uint32_t rgb) {
  const auto system = [](int index) {
    const COLORREF c = GetSysColor(index);
    return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
  };
  if (rgb == kWriteCurveColour || rgb == BlockClassColour(BlockClass::kOk)) return system(COLOR_HIGHLIGHT);
  if (rgb == 0xD0D0D0) return system(COLOR_GRAYTEXT);
  return system(COLOR_WINDOWTEXT);
}

// The hatch of a map colour in high contrast; -1 for a solid fill.
int HatchOf(uint32_t rgb) {
  if (rgb == BlockClassColour(BlockClass::kOverwritten)) return HS_DIAGCROSS;
  if (rgb == BlockClassColour(BlockClass::kEmpty)) return HS_HORIZONTAL;
  if (rgb == BlockClassColour(BlockClass::kDamaged)) return HS_BDIAGONAL;
  if (rgb == BlockClassColour(BlockClass::kUnchecked)) return HS_VERTICAL;
  return -1;
}

int Px(double v) { return static_cast<int>(v + 0.5); }

// Sizes in 96-DPI units.
constexpr int kMinWidth = 560;
constexpr int kMinHeight = 380;

void Fill(HDC dc, const ChartBox& box, uint32_t rgb) {
  RECT r{Px(box.x), Px(box.y), Px(box.x + box.width), Px(box.y + box.height)};
  const bool contrast = View().highContrast;
  const int hatch = contrast ? HatchOf(rgb) : -1;
  HBRUSH brush = hatch >= 0 ? CreateHatchBrush(hatch, Colour(ThemeColour(rgb)))
                            : CreateSolidBrush(Colour(contrast ? ThemeColour(rgb) : rgb));
  if (hatch >= 0) {
    // The pattern over the theme's background, framed so a cell stays a cell.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    FillRect(dc, &r, brush);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
  } else {
    FillRect(dc, &r, brush);
  }
  DeleteObject(brush);
}

void Polyline(HDC dc, const std::vector<ChartPoint>& points, int width, uint32_t rgb) {
  if (points.size() < 2) return;
  std::vector<POINT> pixels;
  for (const ChartPoint& p : points) pixels.push_back({Px(p.x), Px(p.y)});
  const bool contrast = View().highContrast;
  // In high contrast the read curve is dashed: the two curves differ by more than a colour.
  LOGBRUSH stroke{BS_SOLID, Colour(contrast ? ThemeColour(rgb) : rgb), 0};
  const DWORD style = contrast && rgb == kReadCurveColour ? PS_DASH : PS_SOLID;
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_FLAT, width, &stroke, 0, nullptr);
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

HGDIOBJ TextFont() {
  const DiagnosisView& view = View();
  return view.font != nullptr ? view.font : GetStockObject(DEFAULT_GUI_FONT);
}

void Paint(HDC dc, int width, int height) {
  DiagnosisView& view = View();
  RECT all{0, 0, width, height};
  const bool contrast = view.highContrast = HighContrast();
  FillRect(dc, &all, contrast ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, contrast ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, TextFont());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const double line = (metrics.tmHeight + metrics.tmExternalLeading) * 1.35;
  const DiagnosisChart chart = LayoutDiagnosisChart(view.run, width, height, line, line, CurrentLanguage);

  if (view.titleFont != nullptr) SelectObject(dc, view.titleFont);
  Text(dc, chart.titleAt, chart.title);
  SelectObject(dc, TextFont());
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

// The caption and the drawing follow the interface language; the PDF export keeps German.
// The run is named by its drive, start and verdict; the file name is the tooltip's.
std::wstring WindowTitle() {
  const WindowState& ui = Ui();
  const std::wstring title = Translate(L"diagnosis_title");
  std::wstring run = RunTitle(ui.currentHeader, ui.currentVerdict, CurrentLanguage);
  if (run.empty() && !ui.currentResultsPath.empty()) run = FileNameOfPath(ui.currentResultsPath);
  return run.empty() ? title : title + L" - " + run;
}

void ShowFileNameTip() {
  DiagnosisView& view = View();
  if (view.window == nullptr) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = view.window;
  tool.uId = reinterpret_cast<UINT_PTR>(view.window);
  if (view.tooltip == nullptr) {
    view.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, view.window, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (view.tooltip == nullptr) return;
    view.fileName = FileNameOfPath(Ui().currentResultsPath);
    tool.lpszText = view.fileName.data();
    SendMessageW(view.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  view.fileName = FileNameOfPath(Ui().currentResultsPath);
  tool.lpszText = view.fileName.data();
  SendMessageW(view.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Three lines of the summary text at the window's font.
int SummaryHeight() {
  const DiagnosisView& view = View();
  if (view.summary == nullptr) return 0;
  return ScaleToDpi(3 * 16 + 8, view.fontDpi > 0 ? view.fontDpi : 96);
}

// The window's fonts at its own screen's DPI: the text as the main window's, the title larger.
void MakeFonts(int dpi) {
  DiagnosisView& view = View();
  HFONT font = CreateUiFont(dpi);
  HFONT title = nullptr;
  LOGFONTW logical{};
  if (font != nullptr && GetObjectW(font, sizeof logical, &logical) == sizeof logical) {
    logical.lfHeight = logical.lfHeight * 3 / 2;
    logical.lfWeight = FW_BOLD;
    title = CreateFontIndirectW(&logical);
  }
  if (view.summary != nullptr) SendMessageW(view.summary, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (view.font != nullptr) DeleteObject(view.font);
  if (view.titleFont != nullptr) DeleteObject(view.titleFont);
  view.font = font;
  view.titleFont = title;
  view.fontDpi = dpi;
}

// What the picture says, as text: the window's name, then the finding, the usable capacity and the
// block counts.
std::wstring SummaryText(const RunDiagnosis& run) {
  std::wstring text = Translate(L"diagnosis_title");
  if (run.diagnosis.present) {
    // The picture's own finding line ("Befund: ... Nutzbare Kapazität (geschätzt): ..."), then the counts.
    const std::wstring finding = LayoutDiagnosisChart(run, 800, 600, 16, 16, CurrentLanguage).findingLine;
    if (!finding.empty()) text += L"\r\n" + finding;
    text += L"\r\n" + DiagnosisCountsText(run.diagnosis, CurrentLanguage);
  }
  return text;
}

void ShowSummary() {
  const DiagnosisView& view = View();
  if (view.summary == nullptr) return;
  SetWindowTextW(view.summary, SummaryText(view.run).c_str());
  // The window's accessible name is its caption; the text below the picture is what it shows.
  SetWindowTextW(view.window, WindowTitle().c_str());
  ShowFileNameTip();
}

// The keyboard focus goes to the summary, so a screen reader reads it when the window opens.
LRESULT OnFocus() {
  if (View().summary != nullptr) SetFocus(View().summary);
  return 0;
}

LRESULT OnKey(HWND window, WPARAM key, LPARAM lParam) {
  if (key == VK_ESCAPE) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcW(window, WM_KEYDOWN, key, lParam);
}

// Drawn into a bitmap first, so resizing does not flicker.
LRESULT OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = std::max<int>(0, client.bottom - SummaryHeight());
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
  RECT client{};
  GetClientRect(window, &client);
  const int height = SummaryHeight();
  if (View().summary != nullptr) {
    MoveWindow(View().summary, 0, std::max<int>(0, client.bottom - height), client.right, height, TRUE);
  }
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

// Moved to a screen of another DPI: fonts at the new DPI, and the size Windows suggests for it.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  MakeFonts(HIWORD(wParam) > 0 ? HIWORD(wParam) : WindowDpi(window));
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT OnDestroy() {
  DiagnosisView& view = View();
  if (view.font != nullptr) DeleteObject(view.font);
  if (view.titleFont != nullptr) DeleteObject(view.titleFont);
  view.font = view.titleFont = nullptr;
  view.fontDpi = 0;
  view.window = view.summary = view.tooltip = nullptr;  // the tooltip goes with its owner
  return 0;
}

// The theme or its colours changed: drawn again in the new ones.
LRESULT OnColoursChanged(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

LRESULT CALLBACK DiagnosisWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return OnPaint(window);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: return OnSize(window);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(window, lParam);
    case WM_DPICHANGED: return OnDpiChanged(window, wParam, lParam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: return OnColoursChanged(window);
    case WM_SETFOCUS: return OnFocus();
    case WM_KEYDOWN: return OnKey(window, wParam, lParam);
    case WM_DESTROY: return OnDestroy();
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

HWND DiagnosisWindow() { return View().window; }

void OpenDiagnosisWindow(HWND owner) {
  DiagnosisView& view = View();
  if (!HasDiagnosisPictures(Ui().currentDiagnosis)) return;
  view.run = Ui().currentDiagnosis;
  if (view.window != nullptr) {
    ShowSummary();
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
  // Over the main window, a little smaller than it; the floors and the offset at the main window's DPI.
  const int dpi = Ui().dpi > 0 ? Ui().dpi : 96;
  RECT area{0, 0, ScaleToDpi(1000, dpi), ScaleToDpi(640, dpi)};
  if (owner != nullptr) GetWindowRect(owner, &area);
  const int width = std::max<int>(ScaleToDpi(760, dpi), (area.right - area.left) * 9 / 10);
  const int height = std::max<int>(ScaleToDpi(520, dpi), (area.bottom - area.top) * 9 / 10);
  const int offset = ScaleToDpi(20, dpi);
  view.window = CreateWindowExW(0, kDiagnosisWindowClass, WindowTitle().c_str(), WS_OVERLAPPEDWINDOW,
                                area.left + offset, area.top + offset, width, height, owner, nullptr, instance, nullptr);
  if (view.window == nullptr) return;
  view.summary = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                 ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0, view.window, nullptr, instance, nullptr);
  MakeFonts(WindowDpi(view.window));
  ShowSummary();
  OnSize(view.window);
  ShowWindow(view.window, SW_SHOW);
}

void RefreshDiagnosisWindow() {
  DiagnosisView& view = View();
  if (view.window == nullptr) return;
  if (!HasDiagnosisPictures(Ui().currentDiagnosis)) {
    DestroyWindow(view.window);
    return;
  }
  view.run = Ui().currentDiagnosis;
  ShowSummary();
  InvalidateRect(view.window, nullptr, FALSE);
}

HFONT DiagnosisWindowFont() { return View().font; }

void SetHighContrastOverride(int state) {
  gHighContrastOverride = state;
  if (View().window != nullptr) InvalidateRect(View().window, nullptr, FALSE);
}

std::wstring DiagnosisWindowSummary() { return WindowText(View().summary); }

std::wstring DiagnosisWindowTip() {
  const DiagnosisView& view = View();
  if (view.tooltip == nullptr) return std::wstring();
  wchar_t text[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = view.window;
  tool.uId = reinterpret_cast<UINT_PTR>(view.window);
  tool.lpszText = text;
  SendMessageW(view.tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  return text;
}

}  // namespace velkor
