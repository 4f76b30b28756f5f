// The main window: its classes, creation, the message table and the hand-over from the test
// threads, and the program's message loop.
#pragma once

#include <windows.h>

#include <memory>

namespace velkor {

// The resource id of the program's icon (ui/velkor.rc).
inline constexpr int kProgramIconId = 1;

// The window other threads post to; null before WM_CREATE and after WM_DESTROY.
HWND WindowForPosts();

// The main window's messages, one handler each.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Loads the settings, registers the classes, creates and shows the window; null on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// Posts a heap object to the window from any thread; without a window (or when the post fails)
// the object is freed here.
template <typename T>
void PostToWindow(UINT message, std::unique_ptr<T> payload) {
  HWND window = WindowForPosts();
  if (window != nullptr && PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(payload.get()))) {
    payload.release();
  }
}

// The main window's keys, before a message is dispatched: F5 and Esc as the menu's Start and
// Stop, and Tab, Shift+Tab and the arrows between the controls. True when the message was
// handled and must not be dispatched.
bool TranslateWindowKeys(MSG* msg);
// Keeps the window answering until done() or boundMs have passed; done() at the end.
bool KeepAnsweringUntil(bool (*done)(), ULONGLONG boundMs);
// Keeps the window answering until the stopped run's thread is done or boundMs have passed: its
// last lines and its results arrive meanwhile. True when the thread is done.
bool WaitForRunThread(ULONGLONG boundMs);
// Loads the settings, registers the classes, creates and shows the window and runs the message
// loop. Returns the quit code, or 1 when the window could not be made.
int RunVelkor(HINSTANCE instance, int showCommand);

}  // namespace velkor
