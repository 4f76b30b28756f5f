// Sizes at a screen's resolution. The window's rules and the settings file count in units of a
// 96-DPI screen; the window converts at its own DPI, so a settings file moves between screens.
#pragma once

namespace velkor {

inline constexpr int kBaseDpi = 96;

// value (96-DPI units) in pixels at dpi, rounded half away from zero; dpi below 1 counts as 96.
int ScaleToDpi(int value, int dpi);

// pixels at dpi in 96-DPI units, rounded half away from zero; dpi below 1 counts as 96.
int UnscaleFromDpi(int pixels, int dpi);

// A pixel size at one DPI as it should be at another (a column width when the window moves to a
// screen of another resolution).
int RescaleDpi(int pixels, int fromDpi, int toDpi);

}  // namespace velkor
