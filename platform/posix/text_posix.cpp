#include "platform/text.h"

namespace velkor::platform {

std::string WideToWindows1252(std::wstring_view text) {
  // 0x80..0x9F of Windows-1252; 0 marks the five unassigned positions.
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kHigh[k] != 0 && kHigh[k] == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    // A surrogate pair is one character and gives one replacement, as on Windows.
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const auto low = static_cast<char16_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) ++i;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

}  // namespace velkor::platform
