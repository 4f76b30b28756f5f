#include "engine/progress_text.h"

#include <algorithm>
#include <optional>

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

namespace {

// The end line's head: how the run ended, in the verdict's terms once it is there.
const wchar_t* EndHead(const ProgressSnapshot& s, const Verdict* verdict) {
  const StopReason reason = verdict != nullptr ? verdict->reason : s.stopReason;
  if (verdict != nullptr && verdict->kind == VerdictKind::kFailed) {
    return IsStopByErrors(reason) ? L"end_medium_errors" : L"end_failed";
  }
  if (IsStopByErrors(reason)) return L"end_medium_errors";
  switch (reason) {
    case StopReason::kDriveGone: return L"end_drive_gone";
    case StopReason::kFileSystemLimit: return L"end_fs_limit";
    case StopReason::kFileHeld: return L"end_file_held";
    case StopReason::kSessionEnd: return L"end_session_end";
    default: break;
  }
  if (verdict != nullptr && verdict->kind == VerdictKind::kOkPartial) return L"end_partial";
  if (verdict != nullptr ? verdict->kind == VerdictKind::kUnfinished : s.stopRequested) return L"end_stopped";
  return L"end_done";
}

}  // namespace

ProgressView BuildProgressView(const ProgressSnapshot& s, int language, const Verdict* verdict) {
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
  const wchar_t* head = EndHead(s, verdict);
  std::wstring text = TranslateIn(head, language);
  const uint64_t errors = verdict != nullptr ? verdict->errors : s.errors;
  // Amounts, not block counts; a run that wrote nothing (verify-only) does not say it wrote.
  if (s.written > 0 || s.verified == 0) {
    text += FormatTextIn(L"end_counts", language,
                         {FormatByteSize(s.written * blockSize), FormatByteSize(s.verified * blockSize),
                          std::to_wstring(errors)});
  } else {
    text += FormatTextIn(L"end_counts_verify", language,
                         {FormatByteSize(s.verified * blockSize), std::to_wstring(errors)});
  }
  // The verdict's one figure: all or nothing, and none for a check that did not end.
  std::optional<double> reliability;
  if (verdict != nullptr) {
    reliability = verdict->reliability;
  } else if (s.verified > 0 && s.stopReason == StopReason::kNone) {
    reliability = s.errors == 0 ? 100.0 : 0.0;
  }
  if (s.verified > 0 && reliability) text += FormatTextIn(L"end_reliability", language, {FormatPercent(*reliability)});
  if (bytesTotal > 0) text += FormatTextIn(L"end_target", language, {FormatByteSize(bytesTotal)});
  text += FormatTextIn(L"end_duration", language, {FormatDuration(elapsed)});
  view.statusText = std::move(text);
  return view;
}

}  // namespace velkor
