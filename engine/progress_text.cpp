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

ProgressView BuildProgressView(const ProgressSnapshot& s) {
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
    const wchar_t* label = L"Vorbereitung";
    if (s.phase == kPhaseWriting) label = L"Schreiben";
    if (s.phase == kPhaseVerifying) label = L"Lesen/Prüfen";
    const double speed = elapsed > 0 ? static_cast<double>(bytesDone) / 1048576.0 / elapsed : 0.0;
    const double percent =
        s.totalBlocks > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(s.totalBlocks) : 0.0;
    view.statusText = std::wstring(label) + L": " + FormatByteSize(bytesDone) + L" / " +
                      FormatByteSize(bytesTotal) + L" (" + FormatPercent(percent) + L") | " +
                      FormatDecimal2(speed) + L" MB/s | " + FormatDuration(elapsed);
    return view;
  }

  if (s.preflightFailed) {
    view.keepStatus = true;
    return view;
  }
  std::wstring text = L"Fertig: ";
  if (IsStopByErrors(s.stopReason)) {
    text = L"Fehler: Test wegen Fehlern des Mediums beendet: ";
  } else if (s.stopReason == StopReason::kFileSystemLimit) {
    text = L"Fehler: Grenze des Dateisystems erreicht: ";
  } else if (s.stopReason == StopReason::kFileHeld) {
    text = L"Fehler: Testdatei von einem anderen Programm belegt: ";
  } else if (s.stopRequested) {
    text = L"Gestoppt: ";
  }
  // Amounts, not block counts; a run that wrote nothing (verify-only) does not say it wrote.
  if (s.written > 0 || s.verified == 0) text += FormatByteSize(s.written * blockSize) + L" geschrieben, ";
  text += FormatByteSize(s.verified * blockSize) + L" geprüft, " + std::to_wstring(s.errors) + L" Fehler";
  if (s.verified > 0 && s.stopReason == StopReason::kNone) {
    const double reliability =
        s.errors <= s.verified
            ? 100.0 * static_cast<double>(s.verified - s.errors) / static_cast<double>(s.verified)
            : 0.0;
    text += L" | Zuverlässigkeit " + FormatPercent(reliability);
  }
  if (bytesTotal > 0) text += L" | Ziel " + FormatByteSize(bytesTotal);
  text += L" | Dauer " + FormatDuration(elapsed);
  view.statusText = std::move(text);
  return view;
}

}  // namespace velkor
