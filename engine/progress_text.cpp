#include "engine/progress_text.h"

#include <algorithm>
#include <optional>

#include "common/format.h"
#include "platform/system.h"

namespace velkor {

uint64_t PlannedRunBytes(const std::vector<TestVariant>& plan, bool verifyOnly) {
  uint64_t bytes = 0;
  for (const TestVariant& v : plan) bytes += v.byteCount * (!verifyOnly && v.accessType.verifyAfterWrite ? 2 : 1);
  return bytes;
}

void CountStageIntoRun(TestState& state) {
  if (state.runPart.load() == kRunPartNone) return;
  const int32_t phase = state.phase.load();
  const uint64_t blocks = phase == kPhaseWriting     ? state.blocksWritten.load()
                          : phase == kPhaseVerifying ? state.blocksVerified.load()
                                                     : 0;
  state.runBytesDone += blocks * state.blockSize;
}

void SetRunBytes(TestState& state, uint64_t bytes) {
  const std::lock_guard<std::mutex> lock(state.runProgressMutex);
  state.runBytes = bytes;
  if (state.runStartTicks == 0) state.runStartTicks = platform::QueryCounter();
}

void SetRunPart(TestState& state, RunPart part, size_t number, size_t count) {
  const std::lock_guard<std::mutex> lock(state.runProgressMutex);
  // The last stage's bytes are counted once, before its counters stop counting for the run.
  if (part == kRunPartNone) CountStageIntoRun(state);
  state.partNumber = static_cast<uint32_t>(number);
  state.partCount = static_cast<uint32_t>(count);
  state.runPart = part;
}

ProgressSnapshot TakeProgressSnapshot(const TestState& state) {
  ProgressSnapshot s;
  // The run's done bytes and the stage's counters belong together: read under the lock.
  std::unique_lock<std::mutex> lock(const_cast<TestState&>(state).runProgressMutex);
  s.runBytes = state.runBytes;
  s.runBytesDone = state.runBytesDone;
  s.runStartTicks = state.runStartTicks;
  s.runPart = state.runPart.load();
  s.partNumber = state.partNumber.load();
  s.partCount = state.partCount.load();
  s.written = state.blocksWritten.load();
  s.verified = state.blocksVerified.load();
  s.errors = state.errorCount.load();
  s.totalBlocks = state.totalBlocks.load();
  s.blockSize = state.blockSize;
  lock.unlock();
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

double Seconds(int64_t from, const ProgressSnapshot& s) {
  return s.ticksPerSecond > 0 && from > 0 ? static_cast<double>(s.nowTicks - from) / static_cast<double>(s.ticksPerSecond)
                                          : 0.0;
}

// "Methodentest 2/3: schreiben – 26.0 MB / 224.0 MB (11.61%) | 40.00 MB/s | 00:00:10 | noch 00:01:16":
// the part and its stage, the run's bytes, the stage's speed, the run's time and the time left.
std::wstring RunProgressLine(const ProgressSnapshot& s, uint64_t runDone, uint64_t stageBytes, double stageSeconds,
                             int language) {
  // The part, its number where there are several ("Methodentest 2/3"), and its stage.
  std::wstring head = TranslateIn(s.runPart == kRunPartMethodTest   ? L"progress_part_method"
                                  : s.runPart == kRunPartFullTest   ? L"progress_part_full"
                                  : s.runPart == kRunPartVerifyOnly ? L"progress_part_verify"
                                                                    : L"progress_preparing",
                                  language);
  if (s.runPart != kRunPartNone && (s.runPart == kRunPartMethodTest || s.partCount > 1)) {
    head += L" " + std::to_wstring(s.partNumber) + L"/" + std::to_wstring(s.partCount);
  }
  if ((s.runPart == kRunPartMethodTest || s.runPart == kRunPartFullTest) &&
      (s.phase == kPhaseWriting || s.phase == kPhaseVerifying)) {
    head += TranslateIn(s.phase == kPhaseWriting ? L"progress_stage_write" : L"progress_stage_verify", language);
  }
  const double runSeconds = Seconds(s.runStartTicks, s);
  const double speed = stageSeconds > 0 ? static_cast<double>(stageBytes) / 1048576.0 / stageSeconds : 0.0;
  const double percent = 100.0 * static_cast<double>(runDone) / static_cast<double>(s.runBytes);
  std::wstring left = L"--:--:--";
  if (runDone > 0 && runSeconds > 0) {
    left = FormatDuration(runSeconds * static_cast<double>(s.runBytes - runDone) / static_cast<double>(runDone));
  }
  return FormatTextIn(L"progress_run_line", language,
                      {head, FormatByteSize(runDone), FormatByteSize(s.runBytes), FormatPercent(percent),
                       FormatDecimal2(speed), FormatDuration(runSeconds), left});
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

  if (s.runBytes > 0) {
    // One bar for the whole run: the stages that ended and the one going on.
    const uint64_t stage = s.running && s.runPart != kRunPartNone ? bytesDone : 0;
    const uint64_t runDone = std::min(s.runBytesDone + stage, s.runBytes);
    view.barPosition = static_cast<uint32_t>(runDone * 10000 / s.runBytes);
    if (!s.running && !s.stopRequested && (s.written > 0 || s.verified > 0)) view.barPosition = 10000;
    if (s.running) {
      view.statusText = RunProgressLine(s, runDone, bytesDone, elapsed, language);
      return view;
    }
  }

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
