// "Blockkarte und Geschwindigkeit": an owner-drawn window with the block map and the speed curves
// of the results shown in the main window.
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

inline constexpr wchar_t kDiagnosisWindowClass[] = L"VelkorDiagnosis";

// Opens the window for the current results (or brings it to the front); nothing when they have
// neither a diagnosis nor a speed curve.
void OpenDiagnosisWindow(HWND owner);

// After other results were loaded or the language changed: the open window shows them under its
// caption in the current language, or closes when they have nothing to draw.
void RefreshDiagnosisWindow();

// The open window, or null.
HWND DiagnosisWindow();

// The open window's text font, made at the DPI of its own screen; null without a window.
HFONT DiagnosisWindowFont();

// For a test on a system whose theme cannot be switched (Wine): 1 draws as in high contrast, 0 as
// without, -1 (the start) follows SPI_GETHIGHCONTRAST.
void SetHighContrastOverride(int state);

// What the window says in text below its picture (and a screen reader reads first): its name, the
// finding, the usable capacity and the block counts.
std::wstring DiagnosisWindowSummary();
// The window's tooltip text: the results file's name.
std::wstring DiagnosisWindowTip();

}  // namespace velkor
