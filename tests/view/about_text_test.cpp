#include "view/about_text.h"

#include <gtest/gtest.h>

#include "common/version.h"

namespace velkor {
namespace {

TEST(AboutText, BuildDateFromTheCompilersDate) {
  const struct {
    const char* compiler;
    const wchar_t* shown;
  } cases[] = {
      {"Mar  5 2026", L"05.03.2026"},  // the day is padded with a blank
      {"Dec 31 2025", L"31.12.2025"},
      {"Jan 10 2027", L"10.01.2027"},
      {"??? ?? ????", L"??? ?? ????"},  // what a compiler gives without a clock: shown as it is
      {"Mar 5 2026", L"Mar 5 2026"},
      {"Foo 10 2026", L"Foo 10 2026"},
      {"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildDateText(c.compiler), c.shown) << c.compiler;
}

TEST(AboutText, VersionDateAndLicence) {
  const std::wstring text = AboutText("Mar  5 2026");
  EXPECT_EQ(text.rfind(L"Velkor " VELKOR_VERSION_TEXT L"\r\nErstellt am 05.03.2026\r\n", 0), 0u);
  EXPECT_NE(text.find(L"\r\nCopyright (c) 2026 The Velkor authors\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"MIT-Lizenz"), std::wstring::npos);
}

}  // namespace
}  // namespace velkor
