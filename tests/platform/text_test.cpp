#include "platform/text.h"

#include <gtest/gtest.h>

#include "platform/system.h"

namespace velkor::platform {
namespace {

TEST(Text, Utf8RoundTrip) {
  const std::wstring text = L"Prüfung ÄÖÜß € \U0001F4BE Tab\tCR\r\n\"\\";
  const std::string bytes = WideToUtf8(text);
  EXPECT_EQ(bytes.substr(0, 8), "Pr\xC3\xBC" "fung");
  EXPECT_NE(bytes.find("\xE2\x82\xAC"), std::string::npos);      // euro sign
  EXPECT_NE(bytes.find("\xF0\x9F\x92\xBE"), std::string::npos);  // one 4-byte character
  EXPECT_EQ(Utf8ToWide(bytes), text);
  EXPECT_EQ(WideToUtf8(L""), "");
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(Text, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\uFFFD");            // truncated at the end
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD");          // overlong
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\uFFFD");      // encoded surrogate
}

TEST(Text, Windows1252) {
  EXPECT_EQ(WideToWindows1252(L"Größe äöü ÄÖÜ ß"), "Gr\xF6\xDF" "e \xE4\xF6\xFC \xC4\xD6\xDC \xDF");
  EXPECT_EQ(WideToWindows1252(L"\u20AC \u2013 \u201E"), "\x80 \x96 \x84");
  EXPECT_EQ(WideToWindows1252(L""), "");
  // No Windows-1252 form: a question mark (Windows may choose a best-fit letter instead).
  const std::string cyrillic = WideToWindows1252(L"\u0416");
  ASSERT_EQ(cyrillic.size(), 1u);
  EXPECT_EQ(cyrillic, "?");
}

TEST(System, ClockAndProcessors) {
  EXPECT_GE(LogicalProcessorCount(), 1u);
  EXPECT_GT(QueryCounterFrequency(), 0);
  const int64_t a = QueryCounter();
  const int64_t b = QueryCounter();
  EXPECT_LE(a, b);
  const LocalTime now = GetLocalTimeNow();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_LT(now.millisecond, 1000);
  EXPECT_FALSE(ProgramFilePath().empty());
}

}  // namespace
}  // namespace velkor::platform
