// The program's questions and its report box as task dialogs: buttons that say what they do, in
// the window's language (a message box's Yes and No come in the system's language).
#pragma once

#include <windows.h>
#include <commctrl.h>  // the TD_*_ICON values

#include <string>
#include <vector>

namespace velkor {

struct DialogButton {
  int id;             // what AskTaskDialog returns for it (IDYES, IDNO, ...)
  std::wstring text;  // its action, e.g. "Bericht speichern …"
};

// Shows text under title with icon (TD_WARNING_ICON, TD_INFORMATION_ICON, ...) and the buttons,
// defaultId focused; Esc and the close box answer cancelId. Returns the id of the button chosen.
int AskTaskDialog(HWND owner, const std::wstring& title, const std::wstring& text, PCWSTR icon,
                  const std::vector<DialogButton>& buttons, int defaultId, int cancelId);

}  // namespace velkor
