#include "common/format.h"
#include "common/localization.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>

namespace velkor {
namespace {

TEST(FormatDuration, RoundsHalfUpAndKeepsHoursPastADay) {
  const struct {
    double seconds;
    const wchar_t* text;
  } cases[] = {
      {-3, L"00:00:00"},     {0, L"00:00:00"},          {0.49, L"00:00:00"},
      {59.5, L"00:01:00"},   {3599.4, L"00:59:59"},     {3599.5, L"01:00:00"},
      {90000, L"25:00:00"},  {360000, L"100:00:00"},    {1e30, L"5124095576030431:00:15"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(FormatByteSize, StepsOf1024UpToTerabytes) {
  const struct {
    uint64_t bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0.0 B"},
      {1023, L"1023.0 B"},
      {1024, L"1.0 KB"},
      {1536, L"1.5 KB"},
      {1048575, L"1024.0 KB"},  // divided once; the rounding happens in printing
      {1048576, L"1.0 MB"},
      {15931539456ULL, L"14.8 GB"},
      {1099511627776ULL, L"1.0 TB"},
      {2251799813685248ULL, L"2048.0 TB"},  // no unit past TB
      {UINT64_MAX, L"16777216.0 TB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteSize(c.bytes), c.text) << c.bytes;
}

TEST(FormatNumbers, PointAsDecimalMarkWhateverTheLocale) {
  // A locale with a decimal comma must not leak into the texts.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "German");
  EXPECT_EQ(FormatPercent(100), L"100.00%");
  EXPECT_EQ(FormatPercent(99.5678), L"99.57%");
  EXPECT_EQ(FormatPercent(0), L"0.00%");
  EXPECT_EQ(FormatDecimal2(12.345678), L"12.35");
  EXPECT_EQ(FormatDecimal2(0.004), L"0.00");
  EXPECT_EQ(FormatDecimal2(1234567.0), L"1234567.00");
  EXPECT_EQ(FormatByteSize(1536), L"1.5 KB");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!german) GTEST_LOG_(INFO) << "no German locale here; checked in the C locale only";
}

TEST(FormatByteSizeIn, FrenchUnits) {
  EXPECT_EQ(FormatByteSizeIn(12, kLanguageFrench), L"12.0 o");
  EXPECT_EQ(FormatByteSizeIn(32ULL << 20, kLanguageFrench), L"32.0 Mo");
  EXPECT_EQ(FormatByteSizeIn(3ULL << 40, kLanguageFrench), L"3.0 To");
  for (int language : {kLanguageGerman, kLanguageEnglish, kLanguageSpanish}) {
    EXPECT_EQ(FormatByteSizeIn(32ULL << 20, language), L"32.0 MB");
  }
}

TEST(Timestamps, FixedWidthFields) {
  platform::LocalTime t;
  t.year = 2025;
  t.month = 2;
  t.day = 3;
  t.hour = 9;
  t.minute = 5;
  t.second = 0;
  t.millisecond = 7;
  EXPECT_EQ(MakeFileTimestamp(t), L"20250203-090500");
  EXPECT_EQ(MakeLogTimestamp(t), L"2025-02-03 09:05:00.007");
  EXPECT_EQ(MakeClockTime(t), L"09:05:00");
}

TEST(Timestamps, NowHasTheLayout) {
  const std::wstring stamp = MakeLogTimestamp();
  ASSERT_EQ(stamp.size(), 23u);
  EXPECT_EQ(stamp[4], L'-');
  EXPECT_EQ(stamp[10], L' ');
  EXPECT_EQ(stamp[19], L'.');
  EXPECT_EQ(MakeFileTimestamp().size(), 15u);
  EXPECT_EQ(MakeClockTime().size(), 8u);
}

}  // namespace
}  // namespace velkor
