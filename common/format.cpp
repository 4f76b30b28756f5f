#include "common/format.h"

#include <charconv>
#include <cstdio>

#include "common/localization.h"

namespace velkor {
namespace {

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// Fixed notation with the given decimals; std::to_chars ignores the locale.
std::wstring Fixed(double value, int decimals) {
  char buffer[512];
  auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return L"0";
  *result.ptr = '\0';
  return Widen(buffer);
}

}  // namespace

std::wstring MakeFileTimestamp(const platform::LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return Widen(buffer);
}

std::wstring MakeLogTimestamp(const platform::LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return Widen(buffer);
}

std::wstring MakeClockTime(const platform::LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return Widen(buffer);
}

std::wstring MakeFileTimestamp() { return MakeFileTimestamp(platform::GetLocalTimeNow()); }
std::wstring MakeLogTimestamp() { return MakeLogTimestamp(platform::GetLocalTimeNow()); }
std::wstring MakeClockTime() { return MakeClockTime(platform::GetLocalTimeNow()); }

std::wstring FormatPercent(double value) { return Fixed(value, 2) + L"%"; }

std::wstring FormatDecimal2(double value) { return Fixed(value, 2); }

std::wstring FormatDuration(double seconds) {
  uint64_t total = 0;
  if (seconds > 0) {  // negative and NaN give 0
    const double rounded = seconds + 0.5;
    // Values past the 64-bit range saturate rather than wrap into nonsense.
    total = rounded >= 18446744073709551615.0 ? UINT64_MAX : static_cast<uint64_t>(rounded);
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02llu:%02llu:%02llu",
                static_cast<unsigned long long>(total / 3600),
                static_cast<unsigned long long>((total / 60) % 60),
                static_cast<unsigned long long>(total % 60));
  return Widen(buffer);
}

std::wstring FormatByteSize(uint64_t bytes) {
  static const wchar_t* const kUnits[] = {L"B", L"KB", L"MB", L"GB", L"TB"};
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value >= 1024.0 && unit < 4) {
    value /= 1024.0;
    ++unit;
  }
  return Fixed(value, 1) + L" " + kUnits[unit];
}

std::wstring FormatByteSizeIn(uint64_t bytes, int language) {
  std::wstring text = FormatByteSize(bytes);
  if (language != kLanguageFrench) return text;
  // "B" ends the text in every unit: "1.0 MB" -> "1.0 Mo", "12.0 B" -> "12.0 o".
  text.back() = L'o';
  return text;
}

}  // namespace velkor
