#include "ui/window_state.h"

namespace velkor {

WindowState& Ui() {
  static WindowState state;
  return state;
}

HWND Control(int number) {
  return number >= 1 && number <= kControlCount ? Ui().controls[number] : nullptr;
}

bool TestRunning() { return Ui().run && Ui().run->running.load(); }

std::wstring WindowText(HWND window) {
  if (window == nullptr) return L"";
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void SetText(int number, const std::wstring& text) {
  if (HWND w = Control(number)) SetWindowTextW(w, text.c_str());
}

void EnableControl(int number, bool enable) {
  if (HWND w = Control(number)) EnableWindow(w, enable ? TRUE : FALSE);
}

bool IsChecked(int number) {
  HWND w = Control(number);
  return w != nullptr && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(int number, bool checked) {
  if (HWND w = Control(number)) SendMessageW(w, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ChoiceSelection(int number) {
  HWND box = Control(number);
  return box != nullptr ? static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0)) : -1;
}

}  // namespace velkor
