// The main window's layout arithmetic: every control's rectangle and visibility from the client
// size, the window's DPI, the two splitter values and the two view flags. The rules count in
// 96-DPI units and the result is in pixels at the window's DPI. No window is needed, so the rules
// are tested on any platform; the window applies the result.
#pragma once

#include <array>

#include "view/control_numbers.h"
#include "view/dpi_scale.h"

namespace velkor {

struct LayoutInput {
  int clientWidth = 0;   // pixels
  int clientHeight = 0;
  int dpi = kBaseDpi;    // the window's
  int splitX = 610;      // 96-DPI units, as the settings keep them
  int topPaneHeight = 145;
  bool settingsShown = false;
  bool methodDetailsShown = false;
};

// What the layout does to one control: move it (when moved), then show or hide it (when
// shown/hidden is decided). A control left alone keeps its place and visibility.
struct ControlPlacement {
  bool moved = false;
  int x = 0, y = 0, width = 0, height = 0;
  bool visibilitySet = false;
  bool visible = false;
};

struct MainLayout {
  std::array<ControlPlacement, kControlCount + 1> controls{};  // indexed by ControlNumber
  int splitX = 0;          // the clamped values (96-DPI units), stored back by the window
  int topPaneHeight = 0;
  const ControlPlacement& operator[](int number) const { return controls[number]; }
};

MainLayout ComputeMainLayout(const LayoutInput& input);

// Splitter drags, from main-window client pixels at dpi to 96-DPI units: the vertical bar keeps
// 360 units to each side, the horizontal bar puts the lists' bottom a little above the pointer.
int SplitXForDrag(int mouseX, int clientWidth, int dpi = kBaseDpi);
int TopPaneHeightForDrag(int mouseY, int clientHeight, int dpi = kBaseDpi);

// The window's outer rectangle at start-up, in pixels: the saved size (96-DPI units) at dpi, at
// least 760 x 560 units, at most the work area (pixels) unless that is smaller, centred in it.
struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
};
WindowRect PlaceMainWindow(int savedWidth, int savedHeight, int workLeft, int workTop, int workWidth,
                           int workHeight, int dpi = kBaseDpi);

// The outer size to keep in the settings, in 96-DPI units: the window's pixels at dpi, at most
// the work area of its screen (pixels; 0 when unknown: no limit).
struct WindowSize {
  int width = 0, height = 0;
};
WindowSize WindowSizeToSave(int outerWidth, int outerHeight, int workWidth, int workHeight, int dpi = kBaseDpi);

// The smallest outer window size, in 96-DPI units.
inline constexpr int kMinTrackWidth = 760;
inline constexpr int kMinTrackHeight = 560;

}  // namespace velkor
