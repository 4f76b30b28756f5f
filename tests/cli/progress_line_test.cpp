// The progress line rewritten in place, with and without a terminal's escape sequences.
#include "cli/progress_line.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

// What a terminal shows on its line after the text, when it understands only \r (a classic
// Windows console, which would print an escape sequence as it stands).
std::wstring ShownLine(const std::wstring& before, const std::wstring& written) {
  std::wstring line = before;
  size_t column = before.size();
  for (wchar_t c : written) {
    if (c == L'\r') {
      column = 0;
      continue;
    }
    if (column < line.size()) line[column] = c;
    else line.push_back(c);
    ++column;
  }
  while (!line.empty() && line.back() == L' ') line.pop_back();
  return line;
}

TEST(ProgressLine, PlainConsolesGetBlanksInsteadOfEscapes) {
  struct Case {
    const wchar_t* before;
    const wchar_t* text;
  } cases[] = {
      {L"Schreiben 12.34% 00:01:10 verbleibend", L"Prüfen 1.00%"},  // shorter: the rest is blanked
      {L"Prüfen 1.00%", L"Prüfen 10.00% 00:00:50 verbleibend"},    // longer: simply written over
      {L"Prüfen 99.99%", L""},                                       // cleared for a log line
      {L"", L"Schreiben 0.01%"},
  };
  for (const Case& c : cases) {
    const std::wstring before = c.before;
    const std::wstring out = ReplaceProgressLine(c.text, before.size(), false);
    EXPECT_EQ(out.find(L'\x1b'), std::wstring::npos);
    EXPECT_EQ(ShownLine(before, out), c.text) << before.size();
    // A cleared line leaves the cursor at its start, so the next output begins there.
    if (std::wstring(c.text).empty() && !before.empty()) {
      EXPECT_EQ(out.back(), L'\r');
    }
  }
  EXPECT_EQ(ReplaceProgressLine(L"Prüfen 1.00%", 40, true), L"\r\x1b[KPrüfen 1.00%");
  EXPECT_EQ(ReplaceProgressLine(L"", 40, true), L"\r\x1b[K");
}

}  // namespace
}  // namespace velkor
