#include "ui/task_dialog.h"

#include <commctrl.h>

namespace velkor {

int AskTaskDialog(HWND owner, const std::wstring& title, const std::wstring& text, PCWSTR icon,
                  const std::vector<DialogButton>& buttons, int defaultId, int cancelId) {
  std::vector<TASKDIALOG_BUTTON> own;
  for (const DialogButton& b : buttons) own.push_back({b.id, b.text.c_str()});
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.hInstance = GetModuleHandleW(nullptr);
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW | TDF_SIZE_TO_CONTENT;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = icon;
  config.pszContent = text.c_str();
  config.cButtons = static_cast<UINT>(own.size());
  config.pButtons = own.data();
  config.nDefaultButton = defaultId;
  int chosen = 0;
  if (SUCCEEDED(TaskDialogIndirect(&config, &chosen, nullptr, nullptr))) {
    // Esc and the close box give IDCANCEL, which no button of ours has.
    return chosen == IDCANCEL ? cancelId : chosen;
  }
  // Without Common Controls 6 (a missing manifest): a message box, its first button Yes.
  const UINT kind = icon == TD_WARNING_ICON ? MB_ICONWARNING : icon == TD_ERROR_ICON ? MB_ICONERROR : MB_ICONINFORMATION;
  const bool firstIsDefault = !buttons.empty() && buttons.front().id == defaultId;
  const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), MB_YESNO | kind | (firstIsDefault ? 0 : MB_DEFBUTTON2));
  if (buttons.size() < 2) return buttons.empty() ? cancelId : buttons.front().id;
  return answer == IDYES ? buttons[0].id : buttons[1].id;
}

}  // namespace velkor
