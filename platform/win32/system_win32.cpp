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
  // A program deep in a folder tree passes 260 characters: the buffer grows until the path fits
  // (a truncated answer fills the buffer exactly).
  std::wstring buffer(512, L'\0');
  while (buffer.size() <= 65536) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return buffer.substr(0, n);
    buffer.resize(buffer.size() * 2);
  }
  return std::wstring();
}

void SuppressCriticalErrorBoxes() { ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS); }

void KeepSystemAwake(bool awake) {
  ::SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

std::wstring UserDataFolder() {
  // Asked for its length first: a profile folder may lie deeper than 260 characters.
  const DWORD size = ::GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring buffer(size, L'\0');
  const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer.data(), size);
  return n > 0 && n < size ? buffer.substr(0, n) : std::wstring();
}

// The Windows program is one portable file: wherever it lies, it keeps its files beside itself.
bool IsSystemProgramFolder(const std::wstring& folder) { return false; }

uint16_t UserInterfaceLanguage() { return PRIMARYLANGID(::GetUserDefaultUILanguage()); }

}  // namespace velkor::platform
