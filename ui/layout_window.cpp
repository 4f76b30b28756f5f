#include "ui/layout_window.h"

#include <windowsx.h>

#include "common/settings.h"
#include "ui/commands.h"
#include "ui/window_state.h"
#include "view/main_layout.h"

namespace velkor {

void LayoutMainWindow(HWND main) {
  WindowState& ui = Ui();
  RECT client{};
  GetClientRect(main, &client);
  LayoutInput input;
  input.clientWidth = client.right - client.left;
  input.clientHeight = client.bottom - client.top;
  input.splitX = SplitX;
  input.topPaneHeight = TopPaneHeight;
  input.settingsShown = ui.settingsShown;
  input.methodDetailsShown = ui.methodDetailsShown;
  const MainLayout layout = ComputeMainLayout(input);
  SplitX = layout.splitX;
  TopPaneHeight = layout.topPaneHeight;
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
  WindowState& ui = Ui();
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, GetDlgCtrlID(bar) == kIdVerticalBar ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      ui.splitterDragging = true;
      SetCapture(bar);
      return 0;
    case WM_MOUSEMOVE: {
      if (!ui.splitterDragging || !(wParam & MK_LBUTTON) || ui.main == nullptr) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(bar, &p);
      ScreenToClient(ui.main, &p);
      RECT client{};
      GetClientRect(ui.main, &client);
      if (GetDlgCtrlID(bar) == kIdVerticalBar) {
        SplitX = SplitXForDrag(p.x, client.right);
      } else {
        TopPaneHeight = TopPaneHeightForDrag(p.y, client.bottom);
      }
      LayoutMainWindow(ui.main);
      return 0;
    }
    case WM_LBUTTONUP:
      if (ui.splitterDragging) {
        ui.splitterDragging = false;
        ReleaseCapture();
        SaveWindowSettings();
      }
      return 0;
    default:
      return DefWindowProcW(bar, message, wParam, lParam);
  }
}

}  // namespace velkor
