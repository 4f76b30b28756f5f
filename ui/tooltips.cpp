#include "ui/tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "common/localization.h"
#include "common/paths.h"
#include "ui/commands.h"
#include "ui/window_state.h"
#include "view/dpi_scale.h"
#include "view/hint_texts.h"

namespace velkor {
namespace {

// One registered control and its hint. The tooltip control may keep a pointer to the text: the
// entries never move and live as long as the program.
struct HintEntry {
  HWND control;
  std::wstring text;
};
std::vector<std::unique_ptr<HintEntry>>& HintEntries() {
  static std::vector<std::unique_ptr<HintEntry>> entries;
  return entries;
}

TTTOOLINFOW ToolFor(HintEntry& entry) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = Ui().main;
  tool.uId = reinterpret_cast<UINT_PTR>(entry.control);
  tool.lpszText = entry.text.data();
  return tool;
}

void SetTooltipTitle() {
  const WindowState& ui = Ui();
  if (ui.tooltip == nullptr) return;
  const std::wstring title = Translate(L"tooltip_title");
  SendMessageW(ui.tooltip, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(title.c_str()));
}

// The hint the status line shows, so the pointer's leaving takes that and nothing else away.
std::wstring& HintInStatusLine() {
  static std::wstring hint;
  return hint;
}

LRESULT CALLBACK HintSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR data) {
  const auto* entry = reinterpret_cast<const HintEntry*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_SETFOCUS:
      if (entry != nullptr) {
        ShowHintInStatusLine(control);
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control, 0};
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSELEAVE:
      if (entry != nullptr) TakeHintFromStatusLine();
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
  std::wstring hint = GetControlHint(control);
  if (hint.empty()) return TRUE;  // nothing to explain: no balloon, the status line keeps "ready"
  HintEntries().push_back(std::make_unique<HintEntry>(HintEntry{control, std::move(hint)}));
  HintEntry& entry = *HintEntries().back();
  TTTOOLINFOW tool = ToolFor(entry);
  SendMessageW(ui.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SetWindowSubclass(control, HintSubclassProc, 1, reinterpret_cast<DWORD_PTR>(&entry));
  return TRUE;
}

}  // namespace

std::wstring GetControlHint(HWND control) {
  const bool locked = TestRunning() && !IsWindowEnabled(control);
  std::wstring hint = ControlHintText(GetDlgCtrlID(control), WindowText(control), locked);
  if (control == Control(kCtlSavedTestsBox)) {
    const std::wstring chosen = SelectedSavedTest();
    if (!chosen.empty()) hint += L"\r\n" + FileNameOfPath(chosen);
  }
  return hint;
}

namespace {

// The status line says what a run, a deletion or Start's drive read does: no hint over it.
bool StatusLineBusy() {
  const WindowState& ui = Ui();
  return TestRunning() || ui.controlsLocked || ui.startReadPending;
}

}  // namespace

void ShowHintInStatusLine(HWND control) {
  if (StatusLineBusy()) return;
  const std::wstring hint = GetControlHint(control);
  HintInStatusLine() = hint;
  SetText(kCtlStatusLine, hint.empty() ? Translate(L"ready") : hint);
}

void TakeHintFromStatusLine() {
  std::wstring& hint = HintInStatusLine();
  if (StatusLineBusy() || hint.empty()) return;
  if (WindowText(Control(kCtlStatusLine)) == hint) SetText(kCtlStatusLine, Translate(L"ready"));
  hint.clear();
}

void ScaleTooltipWidth() {
  const WindowState& ui = Ui();
  if (ui.tooltip != nullptr) SendMessageW(ui.tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(420, ui.dpi));
}

void InstallTooltips(HWND main) {
  WindowState& ui = Ui();
  ui.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main, GWLP_HINSTANCE)), nullptr);
  if (ui.tooltip == nullptr) return;
  ScaleTooltipWidth();
  SendMessageW(ui.tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 250);
  SendMessageW(ui.tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 12000);
  SendMessageW(ui.tooltip, TTM_ACTIVATE, TRUE, 0);
  SetTooltipTitle();
  // Entries of an earlier window's controls are gone with their subclasses.
  std::vector<std::unique_ptr<HintEntry>>& entries = HintEntries();
  entries.erase(std::remove_if(entries.begin(), entries.end(), [](const auto& e) { return !IsWindow(e->control); }),
                entries.end());
  EnumChildWindows(main, AddToolForControl, 0);
}

void RelabelTooltips() {
  const WindowState& ui = Ui();
  if (ui.tooltip == nullptr) return;
  SetTooltipTitle();
  for (const std::unique_ptr<HintEntry>& entry : HintEntries()) {
    if (!IsWindow(entry->control) || !IsChild(ui.main, entry->control)) continue;
    entry->text = GetControlHint(entry->control);
    TTTOOLINFOW tool = ToolFor(*entry);
    SendMessageW(ui.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // A hint on show keeps showing, in the new language: the balloon above, the status line here.
  TTTOOLINFOW current{};
  current.cbSize = sizeof(current);
  if (SendMessageW(ui.tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current))) {
    ShowHintInStatusLine(reinterpret_cast<HWND>(current.uId));
  }
}

}  // namespace velkor
