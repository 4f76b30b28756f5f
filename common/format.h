// Time stamps and the number texts shown in lists, reports, exports and the log. A point is the
// decimal mark in every language and whatever the C locale; no digit grouping.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace velkor {

// "%04d%02d%02d-%02d%02d%02d", e.g. "20250203-090500".
std::wstring MakeFileTimestamp();
std::wstring MakeFileTimestamp(const platform::LocalTime& t);

// "%04d-%02d-%02d %02d:%02d:%02d.%03d".
std::wstring MakeLogTimestamp();
std::wstring MakeLogTimestamp(const platform::LocalTime& t);

// "%02d:%02d:%02d".
std::wstring MakeClockTime();
std::wstring MakeClockTime(const platform::LocalTime& t);

// "%.2f%%", e.g. "99.57%".
std::wstring FormatPercent(double value);

// "%.2f".
std::wstring FormatDecimal2(double value);

// Seconds rounded half up as "hh:mm:ss"; hours are not reduced modulo 24; negative gives 0.
std::wstring FormatDuration(double seconds);

// "%.1f %s" with 1024 steps from B up to TB at the most, e.g. "14.8 GB".
std::wstring FormatByteSize(uint64_t bytes);
// The same in a language's units: French writes o, Ko, Mo, Go, To (as its field labels say "Mo").
std::wstring FormatByteSizeIn(uint64_t bytes, int language);

}  // namespace velkor
