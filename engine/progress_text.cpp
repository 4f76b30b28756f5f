#include "engine/progress_text.h"

#include <algorithm>

#include "common/format.h"
#include "platform/system.h"

namespace velkor {

ProgressSnapshot TakeProgressSnapshot(const TestState& state) {
  ProgressSnapshot s;
  s.written = state.blocksWritten.load();
  s.verified = state.blocksVerified.load();
  s.errors = state.errorCount.load();
  s.totalBlocks = state.totalBlocks.load();
  s.blockSize = state.blockSize;
  s.running = state.running.load();
  s.stopRequested = state.stopRequested.load();
  s.stopReason = CurrentStopReason(state);
  s.preflightFailed = state.preflightFailed.load();
  s.phase = state.phase.load();
  s.startTicks = state.startTicks;
  s.nowTicks = platform::QueryCounter();
  s.ticksPerSecond = platform::QueryCounterFrequency();
  return s;
}

ProgressView BuildProgressView(const ProgressSnapshot& s, int language) {
  const uint64_t blockSize = s.blockSize == 0 ? 1 : s.blockSize;
  double elapsed = 0.0;
  if (s.ticksPerSecond > 0 && s.startTicks > 0) {
    elapsed = static_cast<double>(s.nowTicks - s.startTicks) / static_cast<double>(s.ticksPerSecond);
  }

  uint64_t done = 0;
  if (s.phase == kPhaseVerifying) done = s.verified;
  if (s.phase == kPhaseWriting) done = s.written;
  if (!s.running) done = std::max(s.written, s.verified);
  if (s.totalBlocks > 0) done = std::min(done, s.totalBlocks);

  ProgressView view;
  if (s.totalBlocks > 0) {
    view.barPosition = static_cast<uint32_t>(std::min<uint64_t>(done * 10000 / s.totalBlocks, 10000));
    if (!s.running && !s.stopRequested && (s.written > 0 || s.verified > 0)) view.barPosition = 10000;
  }

  const uint64_t bytesDone = done * blockSize;
  const uint64_t bytesTotal = s.totalBlocks * blockSize;

  if (s.running) {
    const wchar_t* label = L"progress_preparing";
    if (s.phase == kPhaseWriting) label = L"progress_writing";
    if (s.phase == kPhaseVerifying) label = L"progress_verifying";
    const double speed = elapsed > 0 ? static_cast<double>(bytesDone) / 1048576.0 / elapsed : 0.0;
    const double percent =
        s.totalBlocks > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(s.totalBlocks) : 0.0;
    view.statusText = FormatTextIn(L"progress_line", language,
                                   {TranslateIn(label, language), FormatByteSize(bytesDone), FormatByteSize(bytesTotal),
                                    FormatPercent(percent), FormatDecimal2(speed), FormatDuration(elapsed)});
    return view;
  }

  if (s.preflightFailed) {
    view.keepStatus = true;
    return view;
  }
  const wchar_t* head = L"end_done";
  if (IsStopByErrors(s.stopReason)) {
    head = L"end_medium_errors";
  } else if (s.stopReason == StopReason::kFileSystemLimit) {
    head = L"end_fs_limit";
  } else if (s.stopReason == StopReason::kFileHeld) {
    head = L"end_file_held";
  } else if (s.stopRequested) {
    head = L"end_stopped";
  }
  std::wstring text = TranslateIn(head, language);
  // Amounts, not block counts; a run that wrote nothing (verify-only) does not say it wrote.
  if (s.written > 0 || s.verified == 0) {
    text += FormatTextIn(L"end_counts", language,
                         {FormatByteSize(s.written * blockSize), FormatByteSize(s.verified * blockSize),
                          std::to_wstring(s.errors)});
  } else {
    text += FormatTextIn(L"end_counts_verify", language,
                         {FormatByteSize(s.verified * blockSize), std::to_wstring(s.errors)});
  }
  if (s.verified > 0 && s.stopReason == StopReason::kNone) {
    const double reliability =
        s.errors <= s.verified
            ? 100.0 * static_cast<double>(s.verified - s.errors) / static_cast<double>(s.verified)
            : 0.0;
    text += FormatTextIn(L"end_reliability", language, {FormatPercent(reliability)});
  }
  if (bytesTotal > 0) text += FormatTextIn(L"end_target", language, {FormatByteSize(bytesTotal)});
  text += FormatTextIn(L"end_duration", language, {FormatDuration(elapsed)});
  view.statusText = std::move(text);
  return view;
}

}  // namespace velkor
