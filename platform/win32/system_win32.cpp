#include <windows.h>

#include "platform/system.h"

namespace velkor::platform {

LocalTime GetLocalTimeNow() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  return t;
}

int64_t QueryCounter() {
  LARGE_INTEGER value{};
  ::QueryPerformanceCounter(&value);
  return value.QuadPart;
}

int64_t QueryCounterFrequency() {
  LARGE_INTEGER value{};
  ::QueryPerformanceFrequency(&value);
  return value.QuadPart > 0 ? value.QuadPart : 1;
}

uint32_t LogicalProcessorCount() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

// Large pages on Windows need the lock-pages privilege, which a user's program does not hold.
size_t LargePageSize() { return 0; }

void AdviseLargePages(void* address, size_t length) {}

std::wstring ProgramFilePath() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, n);
}

std::wstring UserDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The Windows program is one portable file: wherever it lies, it keeps its files beside itself.
bool IsSystemProgramFolder(const std::wstring& folder) { return false; }

uint16_t UserInterfaceLanguage() { return PRIMARYLANGID(::GetUserDefaultUILanguage()); }

}  // namespace velkor::platform
