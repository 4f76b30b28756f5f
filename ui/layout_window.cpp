#include "ui/layout_window.h"

#include <windowsx.h>

#include "common/settings.h"
#include "ui/commands.h"
#include "ui/window_state.h"
#include "view/main_layout.h"

namespace velkor {
namespace {

LRESULT OnBarCursor(HWND bar) {
  SetCursor(LoadCursorW(nullptr, GetDlgCtrlID(bar) == kIdVerticalBar ? IDC_SIZEWE : IDC_SIZENS));
  return TRUE;
}

LRESULT OnBarPressed(HWND bar) {
  Ui().splitterDragging = true;
  SetCapture(bar);
  return 0;
}

// While dragged, the bar's split follows the pointer within its limits.
LRESULT OnBarDragged(HWND bar, WPARAM keys, LPARAM point) {
  const WindowState& ui = Ui();
  if (!ui.splitterDragging || !(keys & MK_LBUTTON) || ui.main == nullptr) return 0;
  POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(bar, &p);
  ScreenToClient(ui.main, &p);
  RECT client{};
  GetClientRect(ui.main, &client);
  if (GetDlgCtrlID(bar) == kIdVerticalBar) {
    SplitX = SplitXForDrag(p.x, client.right, ui.dpi);
  } else {
    TopPaneHeight = TopPaneHeightForDrag(p.y, client.bottom, ui.dpi);
  }
  LayoutMainWindow(ui.main);
  return 0;
}

// The end of a drag keeps the new split in the settings.
LRESULT OnBarReleased() {
  WindowState& ui = Ui();
  if (!ui.splitterDragging) return 0;
  ui.splitterDragging = false;
  ReleaseCapture();
  SaveWindowSettings();
  return 0;
}

}  // namespace

void LayoutMainWindow(HWND main) {
  WindowState& ui = Ui();
  RECT client{};
  GetClientRect(main, &client);
  LayoutInput input;
  input.clientWidth = client.right - client.left;
  input.clientHeight = client.bottom - client.top;
  input.dpi = ui.dpi;
  input.splitX = SplitX;
  input.topPaneHeight = TopPaneHeight;
  input.settingsShown = ui.settingsShown;
  input.methodDetailsShown = ui.methodDetailsShown;
  const MainLayout layout = ComputeMainLayout(input);
  SplitX = layout.splitX;
  // TopPaneHeight stays the user's choice: a short window or the settings rows only lower the
  // lists for as long as they need the room.
  for (int n = 1; n <= kControlCount; ++n) {
    HWND control = Control(n);
    const ControlPlacement& place = layout[n];
    if (control == nullptr) continue;
    // No copied bits: a moved control's old pixels would otherwise linger where another now sits.
    if (place.moved) {
      SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (place.visibilitySet) ShowWindow(control, place.visible ? SW_SHOW : SW_HIDE);
  }
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK SplitterWindowProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR: return OnBarCursor(bar);
    case WM_LBUTTONDOWN: return OnBarPressed(bar);
    case WM_MOUSEMOVE: return OnBarDragged(bar, wParam, lParam);
    case WM_LBUTTONUP: return OnBarReleased();
    default: return DefWindowProcW(bar, message, wParam, lParam);
  }
}

}  // namespace velkor
