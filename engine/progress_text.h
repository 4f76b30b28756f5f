// The progress bar position and the status text of a run, as pure functions of the figures read
// from its TestState. The window shows them once a second; velkor-cli prints the same line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/localization.h"
#include "engine/job_variant.h"
#include "engine/run_config.h"
#include "results/verdict.h"

namespace velkor {

// Every byte a plan moves: each job's bytes written, and read back again where it verifies (all
// of them read only, for verifyOnly).
uint64_t PlannedRunBytes(const std::vector<TestVariant>& plan, bool verifyOnly);

// Adds what the stage that ran last moved to the run's done bytes, before its counters start
// again for the next stage or show the totals at the end. Caller holds runProgressMutex.
void CountStageIntoRun(TestState& state);

// The run's amount and part (a method-test variant, a full-test file) for the progress line.
void SetRunBytes(TestState& state, uint64_t bytes);
void SetRunPart(TestState& state, RunPart part, size_t number, size_t count);

// One reading of a TestState (each field a single load) plus the clock.
struct ProgressSnapshot {
  uint64_t written = 0;
  uint64_t verified = 0;
  uint64_t errors = 0;
  uint64_t totalBlocks = 0;
  uint32_t blockSize = 0;  // 0 counts as 1
  bool running = false;
  bool stopRequested = false;
  StopReason stopReason = StopReason::kNone;  // CurrentStopReason
  bool preflightFailed = false;
  int32_t phase = kPhaseIdle;
  int64_t startTicks = 0;
  // The whole run; without runBytes the bar and the line follow the job alone.
  uint64_t runBytes = 0;
  uint64_t runBytesDone = 0;  // of the stages that ended
  int64_t runStartTicks = 0;
  int32_t runPart = kRunPartNone;
  uint32_t partNumber = 0;
  uint32_t partCount = 0;
  int64_t nowTicks = 0;
  int64_t ticksPerSecond = 0;
};

struct ProgressView {
  uint32_t barPosition = 0;  // 0 to 10000, one step is 0.01 %
  std::wstring statusText;   // the running line, or the "Fertig: " / "Gestoppt: " / "Fehler: " summary
  bool keepStatus = false;   // a run that ended in its preflight: its own "Fehler:" status stays shown
};

// Reads the state now.
ProgressSnapshot TakeProgressSnapshot(const TestState& state);

// language picks the words: the window's language there, German for velkor-cli. Once the run has
// ended, verdict (when its outcome has come) gives the end line its head and reliability; without
// one they follow the snapshot the same way (any error: 0 %).
ProgressView BuildProgressView(const ProgressSnapshot& s, int language = kLanguageGerman,
                               const Verdict* verdict = nullptr);

}  // namespace velkor
