#include "cli/batch_progress.h"

#include <algorithm>

#include "common/format.h"
#include "common/localization.h"

namespace velkor {

std::wstring RunningTargetText(const ProgressSnapshot& s, int language) {
  if (s.totalBlocks == 0 || (s.phase != kPhaseWriting && s.phase != kPhaseVerifying)) {
    return TranslateIn(L"progress_preparing", language);
  }
  const uint64_t blockSize = s.blockSize == 0 ? 1 : s.blockSize;
  const uint64_t done = std::min(s.phase == kPhaseVerifying ? s.verified : s.written, s.totalBlocks);
  double elapsed = 0.0;
  if (s.ticksPerSecond > 0 && s.startTicks > 0) {
    elapsed = static_cast<double>(s.nowTicks - s.startTicks) / static_cast<double>(s.ticksPerSecond);
  }
  const double speed = elapsed > 0 ? static_cast<double>(done * blockSize) / 1048576.0 / elapsed : 0.0;
  const double percent = 100.0 * static_cast<double>(done) / static_cast<double>(s.totalBlocks);
  return FormatTextIn(L"cli_batch_running", language,
                      {TranslateIn(s.phase == kPhaseVerifying ? L"progress_verifying" : L"progress_writing", language),
                       FormatPercent(percent), FormatDecimal2(speed), std::to_wstring(s.errors)});
}

std::wstring TargetLine(const std::wstring& name, size_t nameWidth, const std::wstring& text, size_t width) {
  std::wstring line = name;
  if (line.size() < nameWidth) line.append(nameWidth - line.size(), L' ');
  line += L"  " + text;
  if (line.size() > width) line.resize(width);
  return line;
}

std::wstring RedrawBlock(size_t shownLines, const std::wstring& logText, const std::vector<std::wstring>& block) {
  std::wstring out;
  // Up to the block's first line, then erase everything below.
  if (shownLines > 0) out += L"\x1b[" + std::to_wstring(shownLines) + L"A\r\x1b[J";
  out += logText;
  for (const std::wstring& line : block) out += line + L"\n";
  return out;
}

}  // namespace velkor
