#include "view/about_text.h"

#include <cstring>

#include "common/localization.h"
#include "common/version.h"

namespace velkor {

std::wstring BuildDateText(const char* compilerDate) {
  const std::wstring text(compilerDate, compilerDate + std::strlen(compilerDate));
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  // "Mmm dd yyyy", the day blank-padded.
  if (std::strlen(compilerDate) != 11 || compilerDate[3] != ' ' || compilerDate[6] != ' ') return text;
  int month = 0;
  for (int m = 0; m < 12; ++m) {
    if (std::strncmp(compilerDate, kMonths + 3 * m, 3) == 0) month = m + 1;
  }
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const char d0 = compilerDate[4] == ' ' ? '0' : compilerDate[4];
  if (month == 0 || !digit(d0) || !digit(compilerDate[5])) return text;
  for (int i = 7; i < 11; ++i) {
    if (!digit(compilerDate[i])) return text;
  }
  std::wstring out;
  out += static_cast<wchar_t>(d0);
  out += static_cast<wchar_t>(compilerDate[5]);
  out += L'.';
  out += static_cast<wchar_t>(L'0' + month / 10);
  out += static_cast<wchar_t>(L'0' + month % 10);
  out += L'.';
  out += text.substr(7);
  return out;
}

std::wstring AboutText(const char* compilerDate) {
  return L"Velkor " VELKOR_VERSION_TEXT L"\r\n" + FormatText(L"about_built", {BuildDateText(compilerDate)}) +
         L"\r\n\r\n" + Translate(L"about_purpose") + L"\r\n\r\n" VELKOR_COPYRIGHT L"\r\n" + Translate(L"about_licence");
}

}  // namespace velkor
