// The 48 controls of the main window, created in one pass in WM_CREATE.
#pragma once

#include <windows.h>

namespace velkor {

inline constexpr const wchar_t* kMainWindowClass = L"VelkorWindow";
inline constexpr const wchar_t* kSplitterClass = L"VelkorSplitter";

// Creates every control with the in-between steps of window creation (columns, saved column
// layout, check states, choices, disabled fields). The splitter class must be registered.
void CreateMainControls(HWND main);
// Sets the fixed captions again in the current language; the view toggles, the selected-drive
// line and the status line follow the window's state and are left to their owners.
void RelabelControls();

}  // namespace velkor
