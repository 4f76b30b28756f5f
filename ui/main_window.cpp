#include "ui/main_window.h"

#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/localization.h"
#include "common/paths.h"
#include "common/settings.h"
#include "engine/run_outcome.h"
#include "pdf/help_files.h"
#include "platform/system.h"
#include "ui/command_table.h"
#include "ui/commands.h"
#include "ui/controls.h"
#include "ui/device_work.h"
#include "ui/diagnosis_window.h"
#include "ui/drive_watch.h"
#include "ui/dpi.h"
#include "ui/layout_window.h"
#include "ui/lists.h"
#include "ui/menus.h"
#include "ui/run_control.h"
#include "ui/session_end.h"
#include "ui/task_dialog.h"
#include "ui/taskbar.h"
#include "ui/tooltips.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/dpi_scale.h"
#include "view/main_layout.h"

namespace velkor {
namespace {

constexpr COLORREF kWarningText = RGB(170, 0, 0);
constexpr COLORREF kWarningBack = RGB(255, 228, 228);
constexpr COLORREF kHintText = RGB(180, 0, 0);
constexpr COLORREF kHintBack = RGB(240, 240, 240);

// The window handle the test threads post to; null until WM_CREATE and again after WM_DESTROY.
std::atomic<HWND> MainWindowHandle{nullptr};

void RegisterReceiver() {
  UiReceiver receiver;
  receiver.logLine = [](std::wstring line) {
    PostToWindow(WM_APP_LOGLINE, std::make_unique<std::wstring>(std::move(line)));
  };
  receiver.statusText = [](std::wstring text) {
    PostToWindow(WM_APP_STATUS, std::make_unique<std::wstring>(std::move(text)));
  };
  receiver.testDone = [](std::unique_ptr<RunOutcome> outcome) { PostToWindow(WM_APP_TESTDONE, std::move(outcome)); };
  SetUiReceiver(std::move(receiver));
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

LRESULT OnCreate(HWND window) {
  WindowState& ui = Ui();
  ui.main = window;
  ui.dpi = WindowDpi(window);
  MainWindowHandle = window;
  RegisterReceiver();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  ui.font = CreateUiFont(ui.dpi);
  ui.warningBrush = CreateSolidBrush(kWarningBack);
  ui.hintBrush = CreateSolidBrush(kHintBack);
  SetMenu(window, BuildMenuBar());
  ACCEL keys[] = {{FVIRTKEY, VK_F5, kIdStart}, {FVIRTKEY, VK_ESCAPE, kIdStop}};
  ui.keys = CreateAcceleratorTableW(keys, 2);
  GenerateHelpFiles();
  CreateMainControls(window);
  FillLanguageChoices();
  FillExportFormatChoices();
  RefreshSavedTests(L"");
  if (ui.font != nullptr) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(ui.font), TRUE);
    EnumChildWindows(window, SetFontOnChild, reinterpret_cast<LPARAM>(ui.font));
  }
  FillDriveList(L"");
  ApplyProfileDefaults(kProfileReliable);
  ApplyLanguage();
  ApplyFieldStates();
  LayoutMainWindow(window);
  InstallTooltips(window);
  UpdateSelectedDriveLabel();
  // The window shows at once; a slow drive fills the list when it answers.
  ReadDrivesAtStart(window);
  // Free space changes while the window is open (files copied, a kept run's files deleted).
  SetTimer(window, kDriveRefreshTimer, kDriveRefreshPeriodMs, nullptr);
  AppendDiagLog(L"Bereit. Laufwerke können per Spaltenkopf sortiert werden; Spalten lassen sich im Kopf verschieben.");
  AppendDiagLog(L"Logdatei: " + GetLogFilePath());
  const std::wstring elsewhere = DataDirectoryNote();
  if (!elsewhere.empty()) AppendDiagLog(elsewhere);
  return 0;
}

// A stopped run ends within this time; the window waits that long for it before it closes.
constexpr ULONGLONG kCloseWaitMs = 60000;

// The test thread has returned from its last write (it sets the phase last of all).
bool RunThreadDone() {
  const WindowState& ui = Ui();
  return !ui.run || ui.run->phase.load() == kPhaseFinished;
}

LRESULT OnClose(HWND window) {
  WindowState& ui = Ui();
  if (ui.closing) return 0;  // already waiting for the run to end
  if (TestRunning()) {
    if (AskTaskDialog(window, Translate(L"box_close_title"), Translate(L"box_close_running"), TD_WARNING_ICON,
                      {{IDOK, Translate(L"button_stop_close")}, {IDCANCEL, Translate(L"button_keep_testing")}},
                      IDOK, IDCANCEL) != IDOK) {
      return 0;
    }
    // The window stays until the run has ended: nothing may post into a window that is gone,
    // the results file must be final, and the user still decides about the test files.
    ui.closing = true;
    RequestStop(*ui.run, StopReason::kUser);
    AppendDiagLog(L"Fenster wird geschlossen: Test wird gestoppt, das Fenster wartet auf sein Ende.");
    SetText(kCtlStatusLine, Translate(L"status_closing"));
    if (!WaitForRunThread(kCloseWaitMs)) {
      AppendDiagLog(L"FEHLER: Der Test hat sich nicht innerhalb von " + std::to_wstring(kCloseWaitMs / 1000) +
                    L" s beendet. Das Programm wird trotzdem geschlossen; die Ergebnisdatei ist nicht abgeschlossen.");
    }
  }
  // The user chose to delete the test files (also in answer to the run's last question above).
  if (DeletingTestFiles()) {
    ui.closing = true;
    AppendDiagLog(L"Fenster wird geschlossen, sobald die Testdateien gelöscht sind.");
    if (!KeepAnsweringUntil([] { return !DeletingTestFiles(); }, kCloseWaitMs)) {
      AppendDiagLog(L"FEHLER: Das Löschen der Testdateien ist nicht innerhalb von " + std::to_wstring(kCloseWaitMs / 1000) +
                    L" s fertig geworden. Das Programm wird trotzdem geschlossen; nicht gelöschte Testdateien bleiben.");
    }
  }
  SaveWindowSettings();
  DestroyWindow(window);
  return 0;
}

LRESULT OnDestroy() {
  WindowState& ui = Ui();
  if (ui.keys != nullptr) DestroyAcceleratorTable(ui.keys);
  ui.keys = nullptr;
  SaveWindowSettings();
  if (TestRunning()) RequestStop(*ui.run, StopReason::kUser);
  MainWindowHandle = nullptr;
  KillTimer(ui.main, kProgressTimer);
  KillTimer(ui.main, kDriveRefreshTimer);
  ReleaseTaskbar();
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
  info->ptMinTrackSize.x = ScaleToDpi(kMinTrackWidth, Ui().dpi);
  info->ptMinTrackSize.y = ScaleToDpi(kMinTrackHeight, Ui().dpi);
  return 0;
}

// Moved to a screen of another resolution: font, columns, tips and layout follow, and the window
// takes the size the system proposes for it there.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  WindowState& ui = Ui();
  const int previous = ui.dpi;
  ui.dpi = HIWORD(wParam) > 0 ? HIWORD(wParam) : previous;
  if (HFONT font = CreateUiFont(ui.dpi)) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnumChildWindows(window, SetFontOnChild, reinterpret_cast<LPARAM>(font));
    if (ui.font != nullptr) DeleteObject(ui.font);
    ui.font = font;
  }
  RescaleListColumns(previous, ui.dpi);
  ScaleTooltipWidth();
  if (const auto* proposed = reinterpret_cast<const RECT*>(lParam)) {
    SetWindowPos(window, nullptr, proposed->left, proposed->top, proposed->right - proposed->left,
                 proposed->bottom - proposed->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  LayoutMainWindow(window);
  return 0;
}

// The hint of the control under the pointer goes to the status line; the cursor stays the default's.
LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND over = reinterpret_cast<HWND>(wParam);
  if (over != window && IsChild(window, over)) {
    ShowHintInStatusLine(over);
  } else if (over == window) {
    TakeHintFromStatusLine();  // a hint belongs to its control, not to the space between controls
  }
  return DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
}

LRESULT OnTimer(WPARAM id) {
  if (id == kProgressTimer) OnProgressTimer();
  if (id == kDriveRefreshTimer) OnIdleDriveTimer(Ui().main);
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

// Tab from a multi-line field: the field hands the move to its parent, as it would in a dialog.
LRESULT OnNextControl(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND next = lParam != 0 ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
  if (next != nullptr) SetFocus(next);
  return 0;
}

// The keyboard focus comes back to the control that had it, as in a dialog; a red taskbar mark
// of a finished run has been seen.
LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
  WindowState& ui = Ui();
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    ui.lastFocus = focus != nullptr && IsChild(window, focus) ? focus : nullptr;
    return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
  }
  OnWindowActivated(window);
  if (ui.lastFocus != nullptr && IsWindow(ui.lastFocus) && IsWindowEnabled(ui.lastFocus) &&
      IsWindowVisible(ui.lastFocus)) {
    SetFocus(ui.lastFocus);
    return 0;
  }
  return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnDeviceChange(HWND window) {
  CheckDriveChange(window);
  return TRUE;
}

// The log view holds this much at most; the oldest lines go first (the log file keeps them all).
constexpr int kLogViewLimit = 4 * 1024 * 1024;
constexpr int kLogViewKeep = 3 * 1024 * 1024;

// Drops the oldest whole lines so that about kLogViewKeep characters stay.
void TrimLogView(HWND log) {
  const int length = GetWindowTextLengthW(log);
  if (length <= kLogViewLimit) return;
  const int line = static_cast<int>(SendMessageW(log, EM_LINEFROMCHAR, length - kLogViewKeep, 0));
  const int cut = static_cast<int>(SendMessageW(log, EM_LINEINDEX, line + 1, 0));
  if (cut <= 0) return;
  SendMessageW(log, EM_SETSEL, 0, cut);
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  const int end = GetWindowTextLengthW(log);
  SendMessageW(log, EM_SETSEL, end, end);
  SendMessageW(log, EM_SCROLLCARET, 0, 0);
}

LRESULT OnLogLine(HWND window, LPARAM lParam) {
  std::unique_ptr<std::wstring> line(reinterpret_cast<std::wstring*>(lParam));
  HWND log = Control(kCtlLogView);
  if (!line || log == nullptr) return 0;
  // A burst of lines goes in as one insertion: one reflow and one repaint instead of one per line.
  std::wstring text = std::move(*line);
  MSG queued;
  while (text.size() < 65536 && PeekMessageW(&queued, window, WM_APP_LOGLINE, WM_APP_LOGLINE, PM_REMOVE)) {
    std::unique_ptr<std::wstring> more(reinterpret_cast<std::wstring*>(queued.lParam));
    if (more) text += *more;
  }
  const int length = GetWindowTextLengthW(log);
  SendMessageW(log, EM_SETSEL, length, length);
  SendMessageW(log, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  TrimLogView(log);
  return 0;
}

LRESULT OnStatus(LPARAM lParam) {
  std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
  // The test thread writes German (the log keeps it); the line shows the chosen language.
  if (text) SetText(kCtlStatusLine, Localize(*text));
  return 0;
}

LRESULT OnTaskbarButton(HWND window) {
  OnTaskbarButtonCreated(window);
  return 0;
}

LRESULT OnDrivesMessage(LPARAM lParam) {
  OnDrivesScanned(reinterpret_cast<DriveScan*>(lParam));
  return 0;
}

LRESULT OnDriveReadMessage(LPARAM lParam) {
  OnDriveRead(reinterpret_cast<DriveRead*>(lParam));
  return 0;
}

LRESULT OnFilesDeletedMessage(LPARAM lParam) {
  OnTestFilesDeleted(reinterpret_cast<FilesDeleted*>(lParam));
  return 0;
}

LRESULT OnTestDoneMessage(LPARAM lParam) {
  OnTestDone(reinterpret_cast<RunOutcome*>(lParam));
  return 0;
}

// The program's icon (resource 1) at a size of the system's; null without the resource.
HICON ProgramIcon(HINSTANCE instance, int metricX, int metricY) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, GetSystemMetrics(metricX),
                                       GetSystemMetrics(metricY), LR_DEFAULTCOLOR | LR_SHARED));
}

WNDCLASSEXW WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, const wchar_t* cursor) {
  WNDCLASSEXW c{};
  c.cbSize = sizeof(c);
  c.lpfnWndProc = procedure;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, cursor);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = name;
  return c;
}

bool IsDroppedDownChoice(HWND window) {
  wchar_t className[16] = {};
  if (window == nullptr || !GetClassNameW(window, className, 16) || _wcsicmp(className, L"ComboBox") != 0) return false;
  return SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace

HWND WindowForPosts() { return MainWindowHandle.load(); }

bool KeepAnsweringUntil(bool (*done)(), ULONGLONG boundMs) {
  const ULONGLONG end = GetTickCount64() + boundMs;
  MSG msg;
  while (!done() && GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      if (TranslateWindowKeys(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return done();
}

// Its last lines, its results and the deletion question arrive while the window waits.
bool WaitForRunThread(ULONGLONG boundMs) {
  KeepAnsweringUntil(RunThreadDone, boundMs);
  MSG msg;
  // What the thread posted before it finished is still queued.
  while (PeekMessageW(&msg, Ui().main, WM_APP_LOGLINE, WM_APP_DRIVES, PM_REMOVE)) DispatchMessageW(&msg);
  return RunThreadDone();
}


bool TranslateWindowKeys(MSG* msg) {
  // Esc closes the map window, wherever its focus is.
  HWND map = DiagnosisWindow();
  if (map != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE &&
      (msg->hwnd == map || IsChild(map, msg->hwnd))) {
    DestroyWindow(map);
    return true;
  }
  const WindowState& ui = Ui();
  if (ui.main == nullptr || (msg->hwnd != ui.main && !IsChild(ui.main, msg->hwnd))) return false;
  // Esc on an open drop-down list closes the list, as everywhere.
  const bool listOpen = msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && IsDroppedDownChoice(GetFocus());
  if (!listOpen && ui.keys != nullptr && TranslateAcceleratorW(ui.main, ui.keys, msg)) return true;
  return IsDialogMessageW(ui.main, msg) != FALSE;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarButtonCreatedMessage()) return OnTaskbarButton(window);
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_SIZE: return OnSize(window, wParam);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(lParam);
    case WM_DPICHANGED: return OnDpiChanged(window, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(window, wParam, lParam);
    case WM_NOTIFY: return HandleListNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_TIMER: return OnTimer(wParam);
    case WM_INITMENUPOPUP: return OnInitMenuPopup();
    case WM_CTLCOLOREDIT: return OnEditColour(wParam, lParam);
    case WM_CTLCOLORSTATIC: return OnStaticColour(wParam, lParam);
    case WM_ACTIVATE: return OnActivate(window, wParam, lParam);
    case WM_DEVICECHANGE: return OnDeviceChange(window);
    case WM_NEXTDLGCTL: return OnNextControl(window, wParam, lParam);
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: return OnEndSession(wParam != FALSE);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy();
    case WM_APP_LOGLINE: return OnLogLine(window, lParam);
    case WM_APP_STATUS: return OnStatus(lParam);
    case WM_APP_TESTDONE: return OnTestDoneMessage(lParam);
    case WM_APP_DRIVES: return OnDrivesMessage(lParam);
    case WM_APP_DRIVEREAD: return OnDriveReadMessage(lParam);
    case WM_APP_FILESDELETED: return OnFilesDeletedMessage(lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
  // An empty card-reader slot must not raise the system's "no disk" box.
  platform::SuppressCriticalErrorBoxes();
  // The shell's save dialog, ShellExecuteW and the taskbar button want COM in this thread's
  // apartment; a second call on the same thread (a second window) only counts up.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  LoadSettings();
  const WNDCLASSEXW splitter = WindowClass(instance, kSplitterClass, SplitterWindowProc, IDC_SIZEWE);
  RegisterClassExW(&splitter);
  // The window and its taskbar button show the program's icon.
  WNDCLASSEXW main = WindowClass(instance, kMainWindowClass, MainWindowProc, IDC_ARROW);
  main.hIcon = ProgramIcon(instance, SM_CXICON, SM_CYICON);
  main.hIconSm = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  // A second window of the same process (the window tests) finds the class already there.
  if (!RegisterClassExW(&main) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

  RECT work{0, 0, 1280, 800};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // The saved size is in 96-DPI units: the window opens as large on every screen.
  Ui().dpi = DpiOfScreenArea(work);
  const WindowRect place = PlaceMainWindow(WindowWidth, WindowHeight, work.left, work.top, work.right - work.left,
                                           work.bottom - work.top, Ui().dpi);
  HWND window = CreateWindowExW(0, kMainWindowClass, Translate(L"app_title").c_str(),
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
    if (TranslateWindowKeys(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SetUiReceiver({});
  CoUninitialize();
  // A run that did not end in time (or a drive that never answered) must not outlive the objects it writes into: ending the
  // process ends its threads before the program's objects are torn down.
  if (!RunThreadDone() || DeviceWorkersRunning.load() > 0) ExitProcess(static_cast<UINT>(msg.wParam));
  return static_cast<int>(msg.wParam);
}

}  // namespace velkor
