// "Blockkarte und Geschwindigkeit": an owner-drawn window with the block map and the speed curves
// of the results shown in the main window.
#pragma once

#include <windows.h>

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

}  // namespace velkor
