// The 48 controls of the main window, created in one pass in WM_CREATE.
#pragma once

#include <windows.h>

namespace velkor {

inline constexpr const wchar_t* kMainWindowClass = L"VelkorWindow";
inline constexpr const wchar_t* kSplitterClass = L"VelkorSplitter";

struct ControlSpec {
  int id;
  const wchar_t* className;
  const wchar_t* text;  // a text-table key when translated, else the literal text
  bool translated;
  DWORD style;          // beyond WS_CHILD | WS_VISIBLE
};

// The control table in creation order; entry i is control number i + 1.
const ControlSpec& ControlSpecOf(int number);

// Creates every control with the in-between steps of window creation (columns, saved column
// layout, check states, choices, disabled fields).
void CreateMainControls(HWND main);

}  // namespace velkor
