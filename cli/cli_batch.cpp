#include "cli/cli_batch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/batch_progress.h"
#include "cli/batch_schedule.h"
#include "cli/cli_app.h"
#include "cli/cli_console.h"
#include "common/diag_log.h"
#include "common/handover.h"
#include "common/localization.h"
#include "engine/medium_sync.h"
#include "engine/own_files.h"
#include "engine/progress_text.h"
#include "engine/run_lock.h"
#include "engine/run_files.h"
#include "engine/run_outcome.h"
#include "engine/run_thread.h"
#include "engine/worker_limits.h"
#include "pdf/file_writers.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/volumes.h"

namespace velkor {
namespace {

using Clock = std::chrono::steady_clock;

struct BatchTarget {
  TargetStart start;
  BatchRow row;
  std::wstring prefix;  // "[target] ", before each of its log lines
  std::shared_ptr<const RunContext> context;
  std::shared_ptr<TestState> state;
  std::thread thread;
  BatchSlot slot = BatchSlot::kDone;
  // Written by the run's thread, under Batch::mutex.
  std::wstring lastStatus;
  std::unique_ptr<RunOutcome> outcome;
  bool finished = false;  // the run's thread has returned
};

// What the runs hand over, drained on the main thread.
struct Batch {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::wstring> lines;
  std::vector<std::unique_ptr<BatchTarget>> targets;
};

// Log lines into the batch's queue; with a target, its status texts and outcome too.
UiReceiver ReceiverFor(Batch& batch, BatchTarget* target) {
  UiReceiver receiver;
  receiver.logLine = [&batch](std::wstring line) {
    std::lock_guard<std::mutex> lock(batch.mutex);
    batch.lines.push_back(std::move(line));
    batch.wake.notify_one();
  };
  if (target == nullptr) return receiver;
  receiver.statusText = [&batch, target](std::wstring text) {
    std::lock_guard<std::mutex> lock(batch.mutex);
    target->lastStatus = std::move(text);
  };
  receiver.testDone = [&batch, target](std::unique_ptr<RunOutcome> outcome) {
    std::lock_guard<std::mutex> lock(batch.mutex);
    target->outcome = std::move(outcome);
  };
  return receiver;
}

std::vector<BatchSlot> Slots(const Batch& batch) {
  std::vector<BatchSlot> slots;
  for (const auto& t : batch.targets) slots.push_back(t->slot);
  return slots;
}

std::vector<std::wstring> Devices(const Batch& batch) {
  std::vector<std::wstring> devices;
  for (const auto& t : batch.targets) devices.push_back(t->row.device);
  return devices;
}

// Starts the target's run on a thread of its own, which logs and hands over as the target's.
void StartTarget(Batch& batch, BatchTarget& t, bool deleteAtEnd) {
  t.state = NewRunState(t.start.plan.config);
  if (!LockRunTarget(*t.state)) {
    t.slot = BatchSlot::kDone;
    t.row.reason = kDriveBusyText;
    std::lock_guard<std::mutex> lock(batch.mutex);
    batch.lines.push_back(t.prefix + ErrorLine(t.row.reason) + L"\r\n");
    return;
  }
  t.slot = BatchSlot::kRunning;
  const TestConfig config = t.start.plan.config;
  const std::shared_ptr<TestState> state = t.state;
  const std::shared_ptr<const RunContext> context = t.context;
  BatchTarget* self = &t;
  Batch* shared = &batch;
  try {
    t.thread = std::thread([config, state, context, self, shared, deleteAtEnd] {
      const ScopedRunContext scope(context);
      RunTest(config, state);
      // A run that got past its preflight may leave files; --delete takes them away on this thread,
      // so the others go on meanwhile (none from a drive that went away).
      if (deleteAtEnd && !state->preflightFailed && !state->targetGone &&
          CurrentStopReason(*state) != StopReason::kDriveGone) {
        DeleteRunTestFiles(*state);
      }
      std::lock_guard<std::mutex> lock(shared->mutex);
      self->finished = true;
      shared->wake.notify_one();
    });
  } catch (const std::system_error&) {
    t.slot = BatchSlot::kDone;
    t.row.reason = L"Der Lauf konnte nicht gestartet werden (kein Thread).";
    std::lock_guard<std::mutex> lock(batch.mutex);
    batch.lines.push_back(t.prefix + ErrorLine(t.row.reason) + L"\r\n");
  }
}

// Takes the ended run's outcome into its row and returns its end status line.
std::wstring CollectTarget(Batch& batch, BatchTarget& t) {
  t.thread.join();
  t.slot = BatchSlot::kDone;
  std::unique_ptr<RunOutcome> outcome;
  std::wstring lastStatus;
  {
    std::lock_guard<std::mutex> lock(batch.mutex);
    outcome = std::move(t.outcome);
    lastStatus = t.lastStatus;
  }
  const ProgressView view =
      BuildProgressView(TakeProgressSnapshot(*t.state), CurrentLanguage, outcome ? &outcome->verdict : nullptr);
  if (outcome) {
    FillRowFromRun(outcome->results, outcome->verdict, CurrentStopReason(*t.state), &t.row);
    if (outcome->resultsSaved) t.row.resultsFile = outcome->databasePath;
    t.row.resultsSaved = outcome->resultsSaved;
  } else {
    t.row.reason = ReasonOf(lastStatus);  // ended in its preflight: its "Fehler:" status says why
  }
  return view.keepStatus ? Localize(lastStatus) : view.statusText;
}

// The lines under the log on a terminal: one per target, or, where they would not fit, the
// running ones and a count of the rest.
std::vector<std::wstring> ProgressBlock(const Batch& batch) {
  uint32_t columns = 80, rows = 24;
  platform::StandardErrorTerminalSize(&columns, &rows);
  size_t nameWidth = 0;
  for (const auto& t : batch.targets) nameWidth = std::max(nameWidth, Printable(t->row.target).size());
  nameWidth = std::min<size_t>(nameWidth, 40);
  const size_t width = columns > 1 ? columns - 1 : 1;
  std::vector<std::wstring> all, running;
  size_t waiting = 0, done = 0;
  for (const auto& t : batch.targets) {
    std::wstring text;
    switch (t->slot) {
      case BatchSlot::kWaiting:
        text = Translate(L"cli_batch_waiting");
        ++waiting;
        break;
      case BatchSlot::kRunning:
        text = RunningTargetText(TakeProgressSnapshot(*t->state), CurrentLanguage);
        break;
      case BatchSlot::kDone:
        text = BatchVerdictWord(t->row.verdict, CurrentLanguage);
        if (!t->row.reason.empty()) text += L": " + ShownReason(t->row.reason);
        ++done;
        break;
    }
    const std::wstring line = TargetLine(Printable(t->row.target), nameWidth, text, width);
    all.push_back(line);
    if (t->slot == BatchSlot::kRunning) running.push_back(line);
  }
  if (all.size() + 1 < rows) return all;
  if (running.size() + 2 > rows) running.resize(rows > 2 ? rows - 2 : 0);
  std::wstring rest = FormatText(L"cli_batch_rest", {std::to_wstring(waiting), std::to_wstring(done)});
  if (rest.size() > width) rest.resize(width);
  running.push_back(rest);
  return running;
}

}  // namespace

void DescribeRow(const TargetStart& start, BatchRow* row) {
  row->label = start.drive.label;
  row->fileSystem = start.drive.fileSystem;
  row->sizeBytes = start.drive.totalBytes;
  std::wstring device;
  if (platform::QueryPhysicalDevice(start.target, &device)) row->device = device;
}

std::wstring SummaryFileProblem(const std::wstring& path) {
  if (WriteUtf8File(path, L"")) return std::wstring();
  return L"Fehler: Die Übersicht kann nicht geschrieben werden. Datei=" + path + L", " +
         FormatWindowsError(platform::LastError());
}

void WriteSummaryFile(const std::wstring& path, const std::vector<BatchRow>& rows, bool verifyOnly, int exitCode) {
  const std::wstring text = BatchSummaryJson(rows, verifyOnly ? L"verify" : L"test", exitCode, Interrupts() > 0);
  if (WriteUtf8File(path, text)) return;
  const std::wstring line = L"FEHLER: Die Übersicht konnte nicht geschrieben werden. Datei=" + path + L", " +
                            FormatWindowsError(platform::LastError());
  AppendDiagLog(line);
  Err(line + L"\n");
}

int RunBatch(const CliOptions& o, bool verifyOnly) {
  const uint32_t cpus = CpuCount();
  Batch batch;

  // Every target up to its start, one after another: its questions come before any run begins.
  std::vector<std::pair<platform::FileIdentity, std::wstring>> seen;
  for (const std::wstring& name : o.targets) {
    auto t = std::make_unique<BatchTarget>();
    t->prefix = L"[" + Printable(name) + L"] ";
    t->row.target = name;
    t->row.verifyOnly = verifyOnly;
    platform::FileIdentity identity;
    const bool identified = platform::QueryPathIdentity(name, &identity);
    for (const auto& [other, otherName] : seen) {
      if (identified && other == identity) {
        t->start.refusal = L"Fehler: Dasselbe Ziel wie " + otherName + L" ist doppelt angegeben.";
      }
    }
    if (t->start.refusal.empty()) {
      {
        const ScopedRunContext scope(std::make_shared<const RunContext>(RunContext{t->prefix, nullptr}));
        t->start = PrepareTarget(o, name, verifyOnly, cpus, t->prefix);
      }
      if (t->start.described) DescribeRow(t->start, &t->row);
    }
    if (!t->start.refusal.empty()) {
      t->row.reason = ReasonOf(t->start.refusal);
      Err(t->prefix + Localize(t->start.refusal) + L"\n");
    } else {
      t->slot = BatchSlot::kWaiting;
      if (identified) seen.emplace_back(identity, name);
    }
    t->context = std::make_shared<const RunContext>(RunContext{t->prefix, nullptr});
    batch.targets.push_back(std::move(t));
  }

  SetUiReceiver(ReceiverFor(batch, nullptr));
  size_t ready = 0;
  bool ownFilesOnTarget = false, highWorkers = false;
  std::vector<std::wstring> readyDevices;
  std::map<std::wstring, std::wstring> sharing;  // device: the targets on it, when more than one
  for (auto& t : batch.targets) {
    t->context = std::make_shared<const RunContext>(
        RunContext{t->prefix, std::make_shared<const UiReceiver>(ReceiverFor(batch, t.get()))});
    if (t->slot != BatchSlot::kWaiting) continue;
    ++ready;
    ownFilesOnTarget = ownFilesOnTarget || t->start.plan.ownFilesOnTarget;
    highWorkers = highWorkers || t->start.plan.highWorkerWarning;
    readyDevices.push_back(t->row.device);
    if (!t->row.device.empty()) {
      std::wstring& names = sharing[t->row.device];
      names += (names.empty() ? L"" : L", ") + t->row.target;
    }
  }
  // The log, and the results unless --results-dir chose their place, stay off the drives under test.
  if (ownFilesOnTarget) AppendDiagLog(MoveOwnFilesToUserFolder(o.resultsDir.empty()));
  for (auto& t : batch.targets) {
    if (t->slot != BatchSlot::kWaiting) continue;
    const ScopedRunContext scope(t->context);
    for (const std::wstring& line : t->start.plan.effects.logLines) AppendDiagLog(line);
  }
  if (highWorkers) Err(Localize(kHighWorkerWarning) + L"\n");
  const uint32_t limit =
      o.parallel ? static_cast<uint32_t>(std::min<uint64_t>(*o.parallel, 4096)) : DefaultParallelRuns(readyDevices, cpus);
  if (ready > 0) {
    AppendDiagLog(std::wstring(L"Bedienung: velkor-cli ") + (verifyOnly ? L"verify" : L"test") + L" mit " +
                  std::to_wstring(ready) + L" Zielen, bis zu " + std::to_wstring(limit) + L" gleichzeitig.");
  }
  for (const auto& [device, names] : sharing) {
    if (names.find(L", ") != std::wstring::npos) {
      AppendDiagLog(L"Hinweis: " + names + L" liegen auf einem Gerät (" + device + L") und laufen nacheinander.");
    }
  }

  CountInterrupts();
  std::optional<RunsInProgress> running(std::in_place);
  // A sleeping machine would suspend the drives under test; awake until this function returns.
  struct Awake {
    Awake() { platform::KeepSystemAwake(true); }
    ~Awake() { platform::KeepSystemAwake(false); }
  } awake;
  const bool block = platform::IsStandardErrorTerminal() && platform::EnableTerminalSequences();
  size_t shown = 0;  // block lines on the terminal
  auto show = [&](const std::wstring& text, bool redraw) {
    if (!block) {
      if (!text.empty()) Err(text);
      return;
    }
    if (text.empty() && !redraw) return;
    const std::vector<std::wstring> lines = ProgressBlock(batch);
    Err(RedrawBlock(shown, text, lines));
    shown = lines.size();
  };
  bool stopSent = false;
  auto nextDraw = Clock::now();
  auto nextPlainProgress = Clock::now() + std::chrono::seconds(60);
  const bool deleteAtEnd = o.deleteAtEnd && !verifyOnly;
  for (;;) {
    if (!stopSent) {
      for (int i; (i = NextTargetToStart(Slots(batch), Devices(batch), limit)) >= 0;) {
        StartTarget(batch, *batch.targets[static_cast<size_t>(i)], deleteAtEnd);
      }
    }
    std::deque<std::wstring> lines;
    std::vector<BatchTarget*> ended;
    {
      // Ctrl-C is noticed within 200 ms; the lines on a terminal are redrawn once a second.
      std::unique_lock<std::mutex> lock(batch.mutex);
      const auto anyEnded = [&batch] {
        return std::any_of(batch.targets.begin(), batch.targets.end(),
                           [](const auto& t) { return t->slot == BatchSlot::kRunning && t->finished; });
      };
      batch.wake.wait_until(lock, Clock::now() + std::chrono::milliseconds(200),
                            [&] { return !batch.lines.empty() || anyEnded(); });
      lines.swap(batch.lines);
      for (auto& t : batch.targets) {
        if (t->slot == BatchSlot::kRunning && t->finished) ended.push_back(t.get());
      }
    }
    std::wstring text;
    for (std::wstring& line : lines) text += ConsoleLine(std::move(line));
    if (Interrupts() > 0 && !stopSent) {
      stopSent = true;
      for (auto& t : batch.targets) {
        if (t->slot == BatchSlot::kRunning) RequestStop(*t->state, InterruptStopReason());
        if (t->slot != BatchSlot::kWaiting) continue;
        t->slot = BatchSlot::kDone;
        t->row.verdict = BatchVerdict::kStopped;
        t->row.stopReason = InterruptStopReason();
        t->row.reason = SessionEnding() ? L"Sitzung beendet, bevor der Lauf begann"
                                        : L"mit Strg+C gestoppt, bevor der Lauf begann";
      }
      AppendDiagLog(kStopRequestedLog);
    }
    for (BatchTarget* t : ended) text += t->prefix + CollectTarget(batch, *t) + L"\n";
    const auto now = Clock::now();
    if (!block && now >= nextPlainProgress) {
      // Without a terminal the running targets' progress comes as a plain line now and then.
      for (const auto& t : batch.targets) {
        if (t->slot == BatchSlot::kRunning) {
          text += t->prefix + RunningTargetText(TakeProgressSnapshot(*t->state), CurrentLanguage) + L"\n";
        }
      }
      nextPlainProgress = now + std::chrono::seconds(60);
    }
    const bool redraw = now >= nextDraw;
    show(text, redraw);
    if (redraw) nextDraw = now + std::chrono::seconds(1);
    const bool active = std::any_of(batch.targets.begin(), batch.targets.end(),
                                    [](const auto& t) { return t->slot != BatchSlot::kDone; });
    if (!active) break;
  }
  running.reset();  // every results file is final
  {
    std::wstring text;
    std::lock_guard<std::mutex> lock(batch.mutex);
    for (std::wstring& line : batch.lines) text += ConsoleLine(std::move(line));
    batch.lines.clear();
    if (block) {
      Err(RedrawBlock(shown, text, {}));
    } else if (!text.empty()) {
      Err(text);
    }
  }
  SetUiReceiver({});

  std::vector<BatchRow> rows;
  for (const auto& t : batch.targets) rows.push_back(t->row);
  Out(BatchTableText(rows, CurrentLanguage));
  std::wstring files, notes;
  for (const auto& t : batch.targets) {
    const BatchRow& r = t->row;
    if (!r.resultsFile.empty()) files += L"  " + Printable(r.target) + L": " + r.resultsFile + L"\n";
    if (r.verdict != BatchVerdict::kOk) {
      notes += L"  " + Printable(r.target) + L": " + BatchVerdictWord(r.verdict, CurrentLanguage) +
               (r.reason.empty() ? L"" : L", " + ShownReason(r.reason)) + L"\n";
    }
    if (!r.resultsSaved) notes += L"  " + Printable(r.target) + L": " + Translate(L"cli_batch_not_saved") + L"\n";
    if (t->state && t->state->readsMayBeCached) {
      notes += L"  " + Printable(r.target) + L": " + Localize(kDeviceCacheHint) + L"\n";
    }
  }
  if (!files.empty()) Out(L"\n" + Translate(L"cli_batch_results_files") + L"\n" + files);
  if (!notes.empty()) Out(L"\n" + Translate(L"cli_batch_notes") + L"\n" + notes);
  const int code = BatchExitCode(rows, Interrupts() > 0);
  if (!o.summaryJson.empty()) WriteSummaryFile(o.summaryJson, rows, verifyOnly, code);
  return code;
}

}  // namespace velkor
