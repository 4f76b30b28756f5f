#include <windows.h>

#include <io.h>

#include <cstdio>
#include <iostream>

#include "platform/console.h"
#include "platform/text.h"

namespace velkor::platform {
namespace {

void (*gInterruptHandler)(InterruptSource) = nullptr;
void (*gSessionEndHandler)() = nullptr;

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) {
    if (gInterruptHandler) gInterruptHandler(InterruptSource::kKeyboard);
    return TRUE;
  }
  // The console window closed, or (for a process without user32) logoff or shutdown: the
  // process ends once this returns, so the handler returns only when the runs are saved.
  if ((type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) && gSessionEndHandler) {
    gSessionEndHandler();
    return TRUE;
  }
  return FALSE;
}

// A process that loads user32 (shell32 does) gets no logoff or shutdown console events; its
// top-level windows get WM_QUERYENDSESSION and WM_ENDSESSION instead. This hidden one is there for
// them, on a thread of its own.
LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message == WM_ENDSESSION) {
    if (wParam && gSessionEndHandler) gSessionEndHandler();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI SessionWindowThread(void*) {
  WNDCLASSW c{};
  c.lpfnWndProc = SessionWindowProc;
  c.hInstance = ::GetModuleHandleW(nullptr);
  c.lpszClassName = kSessionWindowClass;
  ::RegisterClassW(&c);
  // Top-level and never shown: a message-only window hears no session end.
  if (::CreateWindowExW(0, kSessionWindowClass, L"velkor-cli", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                        c.hInstance, nullptr) == nullptr) {
    return 1;
  }
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}

bool IsConsole(HANDLE h) {
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && h != nullptr && ::GetConsoleMode(h, &mode);
}

void Write(DWORD which, const std::wstring& text) {
  HANDLE h = ::GetStdHandle(which);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return;
  DWORD written = 0;
  if (IsConsole(h)) {
    ::WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = WideToUtf8(text);
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

bool IsStandardErrorTerminal() { return IsConsole(::GetStdHandle(STD_ERROR_HANDLE)); }

bool EnableTerminalSequences() {
  HANDLE h = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!IsConsole(h) || !::GetConsoleMode(h, &mode)) return false;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
  return ::SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != FALSE;
}
bool IsStandardInputTerminal() { return IsConsole(::GetStdHandle(STD_INPUT_HANDLE)); }

void WriteStandardOutput(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text); }
void WriteStandardError(const std::wstring& text) { Write(STD_ERROR_HANDLE, text); }

bool ReadStandardInputLine(std::wstring* line) {
  HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(h)) {
    wchar_t buffer[512];
    DWORD n = 0;
    if (!::ReadConsoleW(h, buffer, 511, &n, nullptr) || n == 0) return false;
    line->assign(buffer, n);
  } else {
    std::string bytes;
    if (!std::getline(std::cin, bytes)) return false;
    *line = Utf8ToWide(bytes);
  }
  while (!line->empty() && (line->back() == L'\r' || line->back() == L'\n')) line->pop_back();
  return true;
}

void InstallInterruptHandler(void (*handler)(InterruptSource)) {
  gInterruptHandler = handler;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void InstallSessionEndHandler(void (*handler)()) {
  const bool first = gSessionEndHandler == nullptr;
  gSessionEndHandler = handler;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  if (first) {
    if (HANDLE thread = ::CreateThread(nullptr, 0, SessionWindowThread, nullptr, 0, nullptr)) ::CloseHandle(thread);
  }
}

void ExitProcessNow(int code) { ::ExitProcess(static_cast<UINT>(code)); }

bool StandardErrorTerminalSize(uint32_t* columns, uint32_t* rows) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info)) return false;
  const int width = info.srWindow.Right - info.srWindow.Left + 1;
  const int height = info.srWindow.Bottom - info.srWindow.Top + 1;
  if (width <= 0 || height <= 0) return false;
  *columns = static_cast<uint32_t>(width);
  *rows = static_cast<uint32_t>(height);
  return true;
}

}  // namespace velkor::platform

#include <shellapi.h>

namespace velkor::platform {

std::vector<std::string> CommandLineBytes(int, char**) { return {}; }

std::vector<std::wstring> CommandLineArguments(int, char**) {
  std::vector<std::wstring> args;
  int count = 0;
  wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!list) return args;
  for (int i = 1; i < count; ++i) args.push_back(list[i]);
  ::LocalFree(list);
  return args;
}

}  // namespace velkor::platform
