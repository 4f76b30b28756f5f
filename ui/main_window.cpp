#include "ui/main_window.h"

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/settings.h"
#include "drives/enumerate.h"
#include "engine/run_outcome.h"
#include "pdf/help_files.h"
#include "ui/command_table.h"
#include "ui/commands.h"
#include "ui/controls.h"
#include "ui/layout_window.h"
#include "ui/lists.h"
#include "ui/menus.h"
#include "ui/run_control.h"
#include "ui/tooltips.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/main_layout.h"

namespace velkor {
namespace {

constexpr COLORREF kWarningText = RGB(170, 0, 0);
constexpr COLORREF kWarningBack = RGB(255, 228, 228);
constexpr COLORREF kHintText = RGB(180, 0, 0);
constexpr COLORREF kHintBack = RGB(240, 240, 240);

// The window handle the test threads post to; null until WM_CREATE and again after WM_DESTROY.
std::atomic<HWND> MainWindowHandle{nullptr};

// Posts a heap object to the window; without a window (or when the post fails) it is freed here.
template <typename T>
void PostOwned(UINT message, std::unique_ptr<T> payload) {
  HWND window = MainWindowHandle.load();
  if (window != nullptr && PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(payload.get()))) {
    payload.release();
  }
}

void RegisterReceiver() {
  UiReceiver receiver;
  receiver.logLine = [](std::wstring line) {
    PostOwned(WM_APP_LOGLINE, std::make_unique<std::wstring>(std::move(line)));
  };
  receiver.statusText = [](std::wstring text) {
    PostOwned(WM_APP_STATUS, std::make_unique<std::wstring>(std::move(text)));
  };
  receiver.testDone = [](std::unique_ptr<RunOutcome> outcome) { PostOwned(WM_APP_TESTDONE, std::move(outcome)); };
  SetUiReceiver(std::move(receiver));
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

LRESULT OnCreate(HWND window) {
  WindowState& ui = Ui();
  ui.main = window;
  MainWindowHandle = window;
  RegisterReceiver();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  ui.font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
  ui.warningBrush = CreateSolidBrush(kWarningBack);
  ui.hintBrush = CreateSolidBrush(kHintBack);
  SetMenu(window, BuildMenuBar());
  GenerateHelpFiles();
  CreateMainControls(window);
  FillLanguageChoices();
  FillExportFormatChoices();
  RefreshSavedTests(L"");
  if (ui.font != nullptr) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(ui.font), TRUE);
    EnumChildWindows(window, SetFontOnChild, reinterpret_cast<LPARAM>(ui.font));
  }
  EnumerateDrives();
  FillDriveList(L"");
  ApplyProfileDefaults(kProfileReliable);
  ApplyLanguage();
  LayoutMainWindow(window);
  InstallTooltips(window);
  UpdateSelectedDriveLabel();
  AppendDiagLog(L"Bereit. Laufwerke können per Spaltenkopf sortiert werden; Spalten lassen sich im Kopf verschieben.");
  AppendDiagLog(L"Logdatei: " + GetLogFilePath());
  return 0;
}

LRESULT OnClose(HWND window) {
  WindowState& ui = Ui();
  if (TestRunning()) {
    if (MessageBoxW(window, L"Test läuft noch. Soll ich stoppen und schließen?", L"Beenden",
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
      return 0;
    }
    RequestStop(*ui.run, StopReason::kUser);
  }
  SaveWindowSettings();
  DestroyWindow(window);
  return 0;
}

LRESULT OnDestroy() {
  WindowState& ui = Ui();
  SaveWindowSettings();
  if (TestRunning()) RequestStop(*ui.run, StopReason::kUser);
  MainWindowHandle = nullptr;
  KillTimer(ui.main, kProgressTimer);
  if (ui.font != nullptr) DeleteObject(ui.font);
  if (ui.warningBrush != nullptr) DeleteObject(ui.warningBrush);
  if (ui.hintBrush != nullptr) DeleteObject(ui.hintBrush);
  ui.font = nullptr;
  ui.warningBrush = ui.hintBrush = nullptr;
  PostQuitMessage(0);
  return 0;
}

LRESULT OnSize(HWND window, WPARAM kind) {
  if (kind != SIZE_MINIMIZED) LayoutMainWindow(window);
  return 0;
}

LRESULT OnGetMinMaxInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = kMinTrackWidth;
  info->ptMinTrackSize.y = kMinTrackHeight;
  return 0;
}

// The hint of the control under the pointer goes to the status line; the cursor stays the default's.
LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND over = reinterpret_cast<HWND>(wParam);
  if (over != window && IsChild(window, over) && !TestRunning()) SetText(kCtlStatusLine, GetControlHint(over));
  return DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
}

LRESULT OnTimer(WPARAM id) {
  if (id == kProgressTimer) OnProgressTimer();
  return 0;
}

LRESULT OnInitMenuPopup() {
  UpdateMenuStates();
  return 0;
}

// The workers field in warning colours while a high worker count is set.
LRESULT OnEditColour(WPARAM dc, LPARAM control) {
  const WindowState& ui = Ui();
  if (reinterpret_cast<HWND>(control) != Control(kCtlWorkerField) || !ui.workerWarning || !ui.warningBrush) return 0;
  SetTextColor(reinterpret_cast<HDC>(dc), kWarningText);
  SetBkColor(reinterpret_cast<HDC>(dc), kWarningBack);
  return reinterpret_cast<LRESULT>(ui.warningBrush);
}

// The worker hint line in red on its own background.
LRESULT OnStaticColour(WPARAM dc, LPARAM control) {
  const WindowState& ui = Ui();
  if (reinterpret_cast<HWND>(control) != Control(kCtlWorkerHint) || !ui.hintBrush) return 0;
  SetTextColor(reinterpret_cast<HDC>(dc), kHintText);
  SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
  return reinterpret_cast<LRESULT>(ui.hintBrush);
}

LRESULT OnDeviceChange(HWND window) {
  CheckDriveChange(window);
  return TRUE;
}

LRESULT OnLogLine(LPARAM lParam) {
  std::unique_ptr<std::wstring> line(reinterpret_cast<std::wstring*>(lParam));
  HWND log = Control(kCtlLogView);
  if (!line || log == nullptr) return 0;
  const int length = GetWindowTextLengthW(log);
  SendMessageW(log, EM_SETSEL, length, length);
  SendMessageW(log, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line->c_str()));
  return 0;
}

LRESULT OnStatus(LPARAM lParam) {
  std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
  if (text) SetText(kCtlStatusLine, *text);
  return 0;
}

LRESULT OnTestDoneMessage(LPARAM lParam) {
  OnTestDone(reinterpret_cast<RunOutcome*>(lParam));
  return 0;
}

WNDCLASSW WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, const wchar_t* cursor) {
  WNDCLASSW c{};
  c.lpfnWndProc = procedure;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, cursor);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = name;
  return c;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_SIZE: return OnSize(window, wParam);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(lParam);
    case WM_SETCURSOR: return OnSetCursor(window, wParam, lParam);
    case WM_NOTIFY: return HandleListNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_TIMER: return OnTimer(wParam);
    case WM_INITMENUPOPUP: return OnInitMenuPopup();
    case WM_CTLCOLOREDIT: return OnEditColour(wParam, lParam);
    case WM_CTLCOLORSTATIC: return OnStaticColour(wParam, lParam);
    case WM_DEVICECHANGE: return OnDeviceChange(window);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy();
    case WM_APP_LOGLINE: return OnLogLine(lParam);
    case WM_APP_STATUS: return OnStatus(lParam);
    case WM_APP_TESTDONE: return OnTestDoneMessage(lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
  // An empty card-reader slot must not raise the system's "no disk" box.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  LoadSettings();
  const WNDCLASSW splitter = WindowClass(instance, kSplitterClass, SplitterWindowProc, IDC_SIZEWE);
  RegisterClassW(&splitter);
  const WNDCLASSW main = WindowClass(instance, kMainWindowClass, MainWindowProc, IDC_ARROW);
  // A second window of the same process (the window tests) finds the class already there.
  if (!RegisterClassW(&main) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

  RECT work{0, 0, 1280, 800};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const WindowRect place = PlaceMainWindow(WindowWidth, WindowHeight, work.left, work.top, work.right - work.left,
                                           work.bottom - work.top);
  HWND window = CreateWindowExW(0, kMainWindowClass, L"Velkor (USB/SD-Prüfer)",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, place.x, place.y, place.width,
                                place.height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return window;
}

int RunVelkor(HINSTANCE instance, int showCommand) {
  if (CreateMainWindow(instance, showCommand) == nullptr) return 1;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SetUiReceiver({});
  return static_cast<int>(msg.wParam);
}

}  // namespace velkor
