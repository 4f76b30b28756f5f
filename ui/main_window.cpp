#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/localization.h"
#include "common/paths.h"
#include "common/settings.h"
#include "drives/enumerate.h"
#include "engine/run_outcome.h"
#include "results/results_database.h"
#include "ui/commands.h"
#include "ui/controls.h"
#include "ui/help_window.h"
#include "ui/layout_window.h"
#include "ui/lists.h"
#include "ui/report_window.h"
#include "ui/run_control.h"
#include "ui/tooltips.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/main_layout.h"

namespace velkor {
namespace {

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

void OnCreate(HWND window) {
  WindowState& ui = Ui();
  ui.main = window;
  MainWindowHandle = window;
  RegisterReceiver();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  ui.font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
  ui.warningBrush = CreateSolidBrush(RGB(255, 228, 228));
  ui.hintBrush = CreateSolidBrush(RGB(240, 240, 240));
  SetMenu(window, BuildMenuBar());
  WriteHelpDocuments();
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
}

void ToggleSettings() {
  WindowState& ui = Ui();
  ui.settingsShown = !ui.settingsShown;
  if (ui.settingsShown) ui.settingsEverShown = true;
  SetText(kCtlSettingsToggle, Translate(ui.settingsShown ? L"settings_hide" : L"settings_show"));
  LayoutMainWindow(ui.main);
  UpdateMenuStates();
}

void ToggleMethodDetails() {
  WindowState& ui = Ui();
  ui.methodDetailsShown = !ui.methodDetailsShown;
  SetText(kCtlMethodToggle, Translate(ui.methodDetailsShown ? L"hide_benchmark" : L"show_benchmark"));
  LayoutMainWindow(ui.main);
  UpdateMenuStates();
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  WindowState& ui = Ui();
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const bool click = code == 0;
  switch (id) {
    case kIdHelpHtml: OpenHtmlHelp(window); return 0;
    case kIdHelpPdf: OpenPdfHelp(window); return 0;
    case kIdExit: SendMessageW(window, WM_CLOSE, 0, 0); return 0;
    case kIdStart:
    case kIdVerifyOnly:
      if (click && !TestRunning()) StartTestCommand(id == kIdVerifyOnly);
      return 0;
    case kIdStop:
      if (click) StopTestCommand();
      return 0;
    case kIdPartial:
      if (click) UpdatePartialControls(IsChecked(kCtlPartialCheck));
      return 0;
    case kIdExplorer:
      if (click) OpenSelectedDriveInExplorer();
      return 0;
    case kIdSettingsToggle:
      if (click && !ui.controlsLocked) ToggleSettings();
      return 0;
    case kIdMethodToggle:
      if (click && !ui.controlsLocked) ToggleMethodDetails();
      return 0;
    case kIdProfile:
      if (code == CBN_SELCHANGE && !ui.controlsLocked) {
        const LRESULT selection = SendMessageW(Control(kCtlProfileBox), CB_GETCURSEL, 0, 0);
        ApplyProfileDefaults(selection == 0 || selection == 1 || selection == 3 ? static_cast<uint32_t>(selection)
                                                                                 : kProfileReliable);
      }
      return 0;
    case kIdLanguage:
      if (code == CBN_SELCHANGE && !ui.controlsLocked) {
        OnLanguageChosen(static_cast<int>(SendMessageW(Control(kCtlLanguageBox), CB_GETCURSEL, 0, 0)));
      }
      return 0;
    case kIdSavedTests:
      if (code == CBN_SELCHANGE && !ui.controlsLocked) {
        const LRESULT selection = SendMessageW(Control(kCtlSavedTestsBox), CB_GETCURSEL, 0, 0);
        if (selection >= 0 && static_cast<size_t>(selection) < ui.savedResultFiles.size()) {
          LoadResultsIntoWindow(ui.savedResultFiles[static_cast<size_t>(selection)]);
        }
      }
      return 0;
    case kIdExport:
      if (click && !ui.controlsLocked) ExportResults(window);
      return 0;
    case kIdOpenResults:
      if (click && !ui.controlsLocked) {
        ShellExecuteW(window, L"open", GetResultsFolder().c_str(), nullptr, nullptr, SW_SHOW);
      }
      return 0;
    case kIdWorkers:
      if (code == EN_CHANGE) RefreshWorkerControl();
      return 0;
    default:
      return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  }
}

void OnClose(HWND window) {
  WindowState& ui = Ui();
  if (TestRunning()) {
    if (MessageBoxW(window, L"Test läuft noch. Soll ich stoppen und schließen?", L"Beenden",
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
      return;
    }
    RequestStop(*ui.run, StopReason::kUser);
  }
  SaveWindowSettings();
  DestroyWindow(window);
}

void OnDestroy() {
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

void OnLogLine(LPARAM lParam) {
  std::unique_ptr<std::wstring> line(reinterpret_cast<std::wstring*>(lParam));
  HWND log = Control(kCtlLogView);
  if (!line || log == nullptr) return;
  const int length = GetWindowTextLengthW(log);
  SendMessageW(log, EM_SETSEL, length, length);
  SendMessageW(log, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line->c_str()));
}

void OnStatus(LPARAM lParam) {
  std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
  if (text) SetText(kCtlStatusLine, *text);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState& ui = Ui();
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) LayoutMainWindow(window);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinTrackWidth;
      info->ptMinTrackSize.y = kMinTrackHeight;
      return 0;
    }
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wParam);
      if (over != window && IsChild(window, over) && !TestRunning()) SetText(kCtlStatusLine, GetControlHint(over));
      return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_NOTIFY: return HandleListNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_TIMER:
      if (wParam == kProgressTimer) OnProgressTimer();
      return 0;
    case WM_INITMENUPOPUP: UpdateMenuStates(); return 0;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == Control(kCtlWorkerField) && ui.workerWarning && ui.warningBrush) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(170, 0, 0));
        SetBkColor(dc, RGB(255, 228, 228));
        return reinterpret_cast<LRESULT>(ui.warningBrush);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Control(kCtlWorkerHint) && ui.hintBrush) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(180, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(ui.hintBrush);
      }
      return 0;
    case WM_DEVICECHANGE: CheckDriveChange(window); return TRUE;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_APP_LOGLINE: OnLogLine(lParam); return 0;
    case WM_APP_STATUS: OnStatus(lParam); return 0;
    case WM_APP_TESTDONE: OnTestDone(reinterpret_cast<RunOutcome*>(lParam)); return 0;
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
