#include "ui/tooltips.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "common/localization.h"
#include "ui/window_state.h"
#include "view/dpi_scale.h"
#include "view/hint_texts.h"

namespace velkor {
namespace {

// The tooltip control keeps pointers into these texts: the store never reallocates (reserved
// up front) and both lists live as long as the program.
std::vector<std::wstring>& HintStore() {
  static std::vector<std::wstring> store;
  return store;
}
std::vector<std::unique_ptr<std::wstring>>& SubclassTexts() {
  static std::vector<std::unique_ptr<std::wstring>> texts;
  return texts;
}

LRESULT CALLBACK HintSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR data) {
  const auto* hint = reinterpret_cast<const std::wstring*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_SETFOCUS:
      if (hint != nullptr) {
        if (!TestRunning()) SetText(kCtlStatusLine, hint->empty() ? Translate(L"ready") : *hint);
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control, 0};
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSELEAVE:
      if (hint != nullptr && !TestRunning()) SetText(kCtlStatusLine, Translate(L"ready"));
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, HintSubclassProc, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

BOOL CALLBACK AddToolForControl(HWND control, LPARAM) {
  WindowState& ui = Ui();
  if (ui.tooltip == nullptr || control == ui.tooltip) return TRUE;
  std::vector<std::wstring>& store = HintStore();
  std::wstring hint = GetControlHint(control);
  if (hint.empty()) return TRUE;  // nothing to explain: no balloon, the status line keeps "ready"
  store.push_back(std::move(hint));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = ui.main;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = store.back().data();
  SendMessageW(ui.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SubclassTexts().push_back(std::make_unique<std::wstring>(store.back()));
  SetWindowSubclass(control, HintSubclassProc, 1, reinterpret_cast<DWORD_PTR>(SubclassTexts().back().get()));
  return TRUE;
}

}  // namespace

std::wstring GetControlHint(HWND control) {
  return ControlHintText(GetDlgCtrlID(control), WindowText(control));
}

void ScaleTooltipWidth() {
  const WindowState& ui = Ui();
  if (ui.tooltip != nullptr) SendMessageW(ui.tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(420, ui.dpi));
}

void InstallTooltips(HWND main) {
  WindowState& ui = Ui();
  HintStore().reserve(256);
  ui.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main, GWLP_HINSTANCE)), nullptr);
  if (ui.tooltip == nullptr) return;
  ScaleTooltipWidth();
  SendMessageW(ui.tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 250);
  SendMessageW(ui.tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 12000);
  SendMessageW(ui.tooltip, TTM_ACTIVATE, TRUE, 0);
  SendMessageW(ui.tooltip, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(L"Hilfe"));
  EnumChildWindows(main, AddToolForControl, 0);
}

}  // namespace velkor
