#include "cli/progress_line.h"

namespace velkor {

std::wstring ReplaceProgressLine(const std::wstring& text, size_t shownLength, bool sequences) {
  if (sequences) return L"\r\x1b[K" + text;
  std::wstring out = L"\r" + text;
  if (shownLength > text.size()) out.append(shownLength - text.size(), L' ');
  if (text.empty() && shownLength > 0) out += L"\r";
  return out;
}

}  // namespace velkor
