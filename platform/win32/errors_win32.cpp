#include <windows.h>

#include "platform/errors.h"

namespace velkor::platform {

uint32_t LastError() { return ::GetLastError(); }

void SetLastError(uint32_t code) { ::SetLastError(code); }

bool SystemErrorText(uint32_t code, std::wstring* text) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer),
      0, nullptr);
  if (n == 0 || buffer == nullptr) {
    if (buffer) ::LocalFree(buffer);
    return false;
  }
  text->assign(buffer, n);
  ::LocalFree(buffer);
  while (!text->empty() && (text->back() == L'\r' || text->back() == L'\n')) text->pop_back();
  return true;
}

std::wstring SystemErrorName(uint32_t code) { return L"Windows-Fehler " + std::to_wstring(code); }

bool MayBeHeldByAnotherProgram(uint32_t code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED; }

}  // namespace velkor::platform
