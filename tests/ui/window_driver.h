// Drives the real main window in a test: creates it in this process, pumps its messages, and
// answers the modal boxes and dialogs it opens, as a user would.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <deque>
#include <algorithm>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/diag_log.h"
#include "common/localization.h"
#include "common/settings.h"
#include "drives/device_hold.h"
#include "drives/drive_table.h"
#include "drives/enumerate.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "results/results_database.h"
#include "tests/support/temp_folder.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace velkor::testing {

struct SeenDialog {
  std::wstring title;
  std::wstring text;
  std::vector<std::wstring> buttons;  // the texts of its push buttons, in their order
};

// A task dialog's content: its text control with the most text (a message box's is 0xFFFF).
inline BOOL CALLBACK LongestStatic(HWND child, LPARAM longest) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  auto* text = reinterpret_cast<std::wstring*>(longest);
  if (_wcsicmp(className, L"Static") == 0 && IsWindowVisible(child)) {
    const std::wstring own = WindowText(child);
    if (own.size() > text->size()) *text = own;
  }
  return TRUE;
}

inline std::wstring TaskDialogText(HWND dialog) {
  std::wstring text;
  EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

inline BOOL CALLBACK CollectButton(HWND child, LPARAM seen) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
  if (_wcsicmp(className, L"Button") == 0 && (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON) &&
      IsWindowVisible(child)) {
    reinterpret_cast<SeenDialog*>(seen)->buttons.push_back(WindowText(child));
  }
  return TRUE;
}

// Decides what to do with one dialog: return the button to press (IDYES, IDNO, IDOK, ...), or 0
// after handling it some other way.
using DialogAnswer = std::function<int(HWND dialog, const SeenDialog& seen)>;

struct DialogAnswerer {
  std::map<std::wstring, int> byTitle;  // the button for every dialog of a title
  std::deque<DialogAnswer> answers;     // used in order for the rest; without one the dialog is cancelled
  std::vector<SeenDialog> seen;
  std::set<HWND> handled;
};

inline DialogAnswerer& Answerer() {
  static DialogAnswerer answerer;
  return answerer;
}

inline void SaveScreenshot(HWND window, const std::wstring& name);

inline BOOL CALLBACK AnswerOneDialog(HWND window, LPARAM) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  DialogAnswerer& a = Answerer();
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  // A dialog disabled under a box of its own (an overwrite question) comes back to the user
  // once that box is gone: answer it again then.
  if (!IsWindowEnabled(window)) {
    a.handled.erase(window);
    return TRUE;
  }
  if (a.handled.count(window)) return TRUE;
  a.handled.insert(window);
  SeenDialog seen;
  seen.title = WindowText(window);
  seen.text = WindowText(GetDlgItem(window, 0xFFFF));  // a message box's text
  if (GetDlgItem(window, 0xFFFF) == nullptr) seen.text = TaskDialogText(window);
  EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&seen));
  a.seen.push_back(seen);
  UpdateWindow(window);
  SaveScreenshot(window, L"box-" + std::to_wstring(a.seen.size()) + L".bmp");
  // Unasked for: the way out a user would take (a Yes/No box has no Cancel).
  int button = GetDlgItem(window, IDCANCEL) ? IDCANCEL : GetDlgItem(window, IDNO) ? IDNO : IDOK;
  if (a.byTitle.count(seen.title)) {
    button = a.byTitle[seen.title];
  } else if (!a.answers.empty()) {
    DialogAnswer answer = std::move(a.answers.front());
    a.answers.pop_front();
    button = answer(window, seen);
  }
  if (button != 0) PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
  return TRUE;
}

// Runs inside every modal loop of this thread: thread timers are dispatched there too.
inline void CALLBACK AnswerDialogs(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), AnswerOneDialog, 0);
}

inline DialogAnswer Press(int button) {
  return [button](HWND, const SeenDialog&) { return button; };
}

// Types path into a save dialog's name field and confirms it.
inline DialogAnswer SaveAs(const std::wstring& path) {
  return [path](HWND dialog, const SeenDialog&) {
    // Explorer-style dialogs name the field 1148 (a combo box), the old style 1152.
    HWND field = GetDlgItem(dialog, 1148);
    if (field == nullptr) field = GetDlgItem(dialog, 1152);
    SetWindowTextW(field, path.c_str());
    return IDOK;
  };
}

inline void SaveScreenshot(HWND window, const std::wstring& name);

// Chooses the save dialog's file type (1-based, as the filter list counts), types path and confirms.
// typeCount receives how many types the dialog offered.
inline DialogAnswer SaveAsType(const std::wstring& path, int type, int* typeCount = nullptr) {
  return [path, type, typeCount](HWND dialog, const SeenDialog& seen) {
    HWND types = GetDlgItem(dialog, 1136);  // the "save as type" box
    if (typeCount != nullptr) *typeCount = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    SendMessageW(types, CB_SETCURSEL, type - 1, 0);
    SendMessageW(types, CB_SHOWDROPDOWN, TRUE, 0);
    UpdateWindow(dialog);
    SaveScreenshot(dialog, L"save-dialog-type-" + std::to_wstring(type) + L".bmp");
    SendMessageW(types, CB_SHOWDROPDOWN, FALSE, 0);
    // As a mouse pick ends: Windows' dialog reads the change, Wine's the pick's end.
    for (WORD code : {static_cast<WORD>(CBN_SELCHANGE), static_cast<WORD>(CBN_SELENDOK)}) {
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1136, code), reinterpret_cast<LPARAM>(types));
    }
    return SaveAs(path)(dialog, seen);
  };
}

// For failure messages.
inline std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }

// The program's own loop: keys first, then the usual translation and dispatch.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (TranslateWindowKeys(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Presses a key as the message loop of the program sees it: its key-down and key-up messages to
// the focused control, through the loop's key handling; the keys before the last (Shift, Control)
// are held down meanwhile.
inline void PressKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  BYTE before[256];
  std::copy(std::begin(state), std::end(state), std::begin(before));
  const int key = *(keys.end() - 1);
  for (auto k = keys.begin(); k + 1 != keys.end(); ++k) state[*k] |= 0x80;
  SetKeyboardState(state);
  for (UINT message : {static_cast<UINT>(WM_KEYDOWN), static_cast<UINT>(WM_KEYUP)}) {
    MSG msg{};
    msg.hwnd = GetFocus() != nullptr ? GetFocus() : GetActiveWindow();
    msg.message = message;
    msg.wParam = static_cast<WPARAM>(key);
    msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001u);
    if (TranslateWindowKeys(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SetKeyboardState(before);
  Pump();
}

// Pumps until done() or the time is up (a hung run must not hang the test).
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    Pump();
    if (done()) return true;
    // Wakes as soon as a message arrives; the bound covers conditions other threads set directly.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  Pump();
  return done();
}


// No device work of the window is on its way: no drive scan, drive read, Start's read or deletion.
inline bool DeviceWorkSettled() {
  const WindowState& ui = Ui();
  return !ui.driveScanRunning && ui.driveReadRequest == 0 && !ui.startReadPending && ui.deletionRequest == 0;
}

// Stands for a device that takes long to answer: the window's device work waits at the gate
// until Release or the end of the scope.
class SlowDevice {
 public:
  SlowDevice() { HoldDeviceWork(true); }
  ~SlowDevice() { Release(); }
  SlowDevice(const SlowDevice&) = delete;
  SlowDevice& operator=(const SlowDevice&) = delete;
  void Release() { HoldDeviceWork(false); }
};

// Does action (on this, the window's thread) and, once device work waits at the held gate, asks
// the window from another thread whether it still answers, while this thread pumps as the
// program's loop does. A window stuck behind the gate does not answer: the probe then lets the
// gate go, so the test fails instead of hanging.
inline bool WindowAnswersWhileHeld(const std::function<void()>& action) {
  std::atomic<int> answered{-1};
  std::thread probe([&answered] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (DeviceWorkWaiting() == 0 && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    DWORD_PTR result = 0;
    const bool ok = DeviceWorkWaiting() > 0 && WindowForPosts() != nullptr &&
                    SendMessageTimeoutW(WindowForPosts(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
    if (!ok) HoldDeviceWork(false);
    answered = ok ? 1 : 0;
  });
  action();
  PumpUntil([&answered] { return answered.load() >= 0; }, 120000);
  probe.join();
  return answered.load() == 1;
}

// Where VELKOR_SCREENSHOTS names a folder: the window as the screen shows it, as a 24-bit BMP
// there (for a person to look at; no test reads it).
inline void SaveScreenshot(HWND window, const std::wstring& name) {
  const wchar_t* folder = _wgetenv(L"VELKOR_SCREENSHOTS");
  if (folder == nullptr || window == nullptr) return;
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes += pixels;
  HANDLE out = CreateFileW((std::wstring(folder) + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);
}

// A window of its own per test: settings, results and log in a temporary folder, the
// program-wide values back at their start-up defaults.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFilePath(folder_.File(L"velkor.ini"));
    // A German user: the platform's language would decide otherwise.
    platform::WriteIniString(SettingsFilePath(), L"General", L"Language", L"de");
    SetResultsFolder(folder_.File(L"results"));
    CreateDirectoryW(folder_.File(L"results").c_str(), nullptr);
    SetLogFilePath(folder_.File(L"velkor.log"));
    ResetProgramValues();
    // The pointer away from the window: hovering puts hints into the status line.
    SetCursorPos(0, 0);
    answerTimer_ = SetTimer(nullptr, 0, 50, AnswerDialogs);
  }

  void TearDown() override {
    CloseWindow();
    KillTimer(nullptr, answerTimer_);
    Answerer() = DialogAnswerer{};
  }

  static void ResetProgramValues() {
    Ui() = WindowState{};
    WindowWidth = kDefaultWindowWidth;
    WindowHeight = kDefaultWindowHeight;
    SplitX = kDefaultSplitX;
    TopPaneHeight = kDefaultTopPaneHeight;
    SettingsLoaded = false;
    CurrentLanguage = kLanguageGerman;
    driveSortColumn = 0;
    driveSortAscending = true;
  }

  // The window as the user sees it once its drives have answered (waitForDrives false: at once).
  HWND OpenWindow(bool waitForDrives = true) {
    main_ = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW);
    Pump();
    if (main_ != nullptr && waitForDrives) {
      EXPECT_TRUE(PumpUntil(DeviceWorkSettled)) << "the drives never answered";
    }
    KeepPointerOff();
    return main_;
  }

  // A pointer that rests on a control puts its hint into the status line whenever the window
  // looks at the pointer again (after each modal box, for one). Where the system will not move
  // the pointer away, the window moves.
  void KeepPointerOff() {
    if (main_ == nullptr) return;
    RECT r{};
    GetWindowRect(main_, &r);
    POINT p{};
    SetCursorPos(0, 0);
    if (!GetCursorPos(&p) || !PtInRect(&r, p)) return;
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int x = p.x >= (screen.right / 2) ? p.x - (r.right - r.left) - 8 : p.x + 8;
    const int y = p.y >= (screen.bottom / 2) ? p.y - (r.bottom - r.top) - 8 : p.y + 8;
    SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  }

  // Closes the window as the user does (WM_CLOSE) when it is still open.
  void CloseWindow() {
    if (main_ != nullptr && IsWindow(main_)) {
      SendMessageW(main_, WM_CLOSE, 0, 0);
      Pump();
    }
    main_ = nullptr;
  }

  // A Start reads its drive on a worker first: the command returns once the start has gone on
  // (its questions answered, its run begun or refused).
  void Command(int id, int code = 0) {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(main_, id)));
    if (id == kIdStart || id == kIdVerifyOnly) WaitForStart();
  }

  // One message at a time, so that nothing after the start is handled yet: a short run must not
  // have ended by the time the caller looks at it.
  static void WaitForStart() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    MSG msg;
    while (Ui().startReadPending && std::chrono::steady_clock::now() < end) {
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        continue;
      }
      if (msg.message == WM_QUIT || TranslateWindowKeys(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    EXPECT_FALSE(Ui().startReadPending) << "Start's drive read never came back";
  }

  // Picks an entry of a combo box as a user does: selection, then the change notification.
  void Choose(int number, int index) {
    HWND box = Control(number);
    SendMessageW(box, CB_SETCURSEL, index, 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  }

  std::wstring Text(int number) { return WindowText(Control(number)); }

  RECT ClientRect(int number) {
    RECT r{};
    GetWindowRect(Control(number), &r);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static std::wstring Cell(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  static int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

  static std::wstring ColumnTitle(HWND list, int column) {
    wchar_t buffer[128] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = buffer;
    c.cchTextMax = 128;
    SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
    return buffer;
  }

  UINT MenuState(int id) { return GetMenuState(GetMenu(main_), id, MF_BYCOMMAND); }

  std::wstring MenuText(int id) {
    wchar_t buffer[128] = {};
    GetMenuStringW(GetMenu(main_), id, buffer, 128, MF_BYCOMMAND);
    return buffer;
  }

  // The dialogs seen so far with this title.
  static std::vector<SeenDialog> Seen(const std::wstring& title) {
    std::vector<SeenDialog> out;
    for (const SeenDialog& d : Answerer().seen) {
      if (d.title == title) out.push_back(d);
    }
    return out;
  }

  TempFolder folder_;
  HWND main_ = nullptr;
  UINT_PTR answerTimer_ = 0;
};

}  // namespace velkor::testing
