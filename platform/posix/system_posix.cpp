#include "platform/system.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/text.h"

namespace velkor::platform {

LocalTime GetLocalTimeNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  LocalTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return t;
}

int64_t QueryCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t QueryCounterFrequency() { return 1000000000; }

uint32_t LogicalProcessorCount() {
  const long n = sysconf(_SC_NPROCESSORS_ONLN);
  return n > 0 ? static_cast<uint32_t>(n) : 1;
}

size_t LargePageSize() {
  // Transparent huge pages: their size, where the kernel has them.
  static const size_t size = [] {
    size_t bytes = 0;
    if (FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size", "r")) {
      unsigned long long value = 0;
      if (std::fscanf(f, "%llu", &value) == 1) bytes = static_cast<size_t>(value);
      std::fclose(f);
    }
    return bytes;
  }();
  return size;
}

void AdviseLargePages(void* address, size_t length) { ::madvise(address, length, MADV_HUGEPAGE); }

std::wstring ProgramFilePath() {
  std::string buffer(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return std::wstring();
  buffer.resize(static_cast<size_t>(n));
  return Utf8ToWide(buffer);
}

std::wstring UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return Utf8ToWide(data);  // a relative one is invalid
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return Utf8ToWide(std::string(home) + "/.local/share");
  return std::wstring();
}

bool IsSystemProgramFolder(const std::wstring& folder) {
  for (const wchar_t* root : {L"/usr", L"/bin", L"/sbin"}) {
    const std::wstring r = root;
    if (folder == r || folder.compare(0, r.size() + 1, r + L"/") == 0) return true;
  }
  return false;
}

void SuppressCriticalErrorBoxes() {}

// A Linux machine's sleep is the desktop's or the administrator's business.
void KeepSystemAwake(bool) {}

uint16_t UserInterfaceLanguage() {
  // The desktop's language comes from the locale variables, most specific first.
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string locale;
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  const std::string language = locale.substr(0, 2);
  if (language == "de") return 0x07;
  if (language == "en") return 0x09;
  if (language == "fr") return 0x0C;
  if (language == "es") return 0x0A;
  if (language == "it") return 0x10;
  if (language == "nl") return 0x13;
  if (language == "pl") return 0x15;
  if (language == "pt") return 0x16;
  return 0x09;
}

}  // namespace velkor::platform
