#include "ui/dpi.h"

#include "view/dpi_scale.h"

namespace velkor {
namespace {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

// Looked up at run time: a missing entry point must not stop the program from loading.
template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  HMODULE library = GetModuleHandleW(module);
  if (library == nullptr) library = LoadLibraryW(module);
  return library != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                            : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int DpiOfScreenArea(const RECT& rect) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY);
  UINT x = 0, y = 0;
  if (getDpiForMonitor != nullptr && monitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && y > 0) {
    return static_cast<int>(y);
  }
  return SystemDpi();
}

HFONT CreateUiFont(int dpi) {
  return CreateFontW(ScaleToDpi(-12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     L"Segoe UI");
}

}  // namespace velkor
