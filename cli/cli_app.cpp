#include "cli/cli_app.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "cli/batch_summary.h"
#include "cli/cli_args.h"
#include "cli/cli_batch.h"
#include "cli/cli_console.h"
#include "cli/progress_line.h"
#include "cli/target_start.h"
#include "common/diag_log.h"
#include "common/handover.h"
#include "common/localization.h"
#include "common/paths.h"
#include "drives/drive_table.h"
#include "drives/enumerate.h"
#include "engine/own_files.h"
#include "engine/progress_text.h"
#include "engine/run_lock.h"
#include "engine/run_outcome.h"
#include "engine/run_files.h"
#include "engine/run_thread.h"
#include "engine/medium_sync.h"
#include "engine/worker_limits.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/volumes.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "results/results_database.h"

namespace velkor {
namespace {

int Fail(const std::wstring& text) {
  Err(text + L"\n");
  return kExitInvalid;
}

// What the test thread hands over, drained on the main thread.
struct CliQueue {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::wstring> lines;
  std::wstring lastStatus;  // the latest status text, which a run that ends in its preflight leaves
  std::unique_ptr<RunOutcome> outcome;
  bool finished = false;  // the test thread has returned
};

void CreateFolders(const std::wstring& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == L'/' || path[i] == L'\\') platform::CreateFolder(path.substr(0, i));
  }
}

// The report as the window's box shows it in the terminal's language, without its closing
// question, with plain line ends.
std::wstring ReportForConsole(const RunOutcome& outcome) {
  std::wstring plain;
  for (wchar_t c : BuildRunReport(outcome.results, outcome.verdict, &outcome.diagnosis.diagnosis, &outcome.header,
                                  CurrentLanguage)
                       .body) {
    if (c != L'\r') plain.push_back(c);
  }
  return plain;
}

// Log lines written outside a run go straight to the console.
void LogToConsole() {
  SetUiReceiver({[](std::wstring line) { Err(ConsoleLine(std::move(line))); }, {}, {}});
}

// Runs the test thread and, on this thread until it ends, shows its log lines and (on a terminal)
// a progress line, and turns Ctrl-C into a stop request. (The run itself stops when its target
// leaves its volume.) Returns the outcome the run handed over, or null when it ended in its
// preflight; *endStatus is the status line it ended with.
std::unique_ptr<RunOutcome> RunWithConsole(const TestConfig& config, const std::shared_ptr<TestState>& state,
                                           std::wstring* endStatus) {
  CliQueue queue;
  SetUiReceiver({[&queue](std::wstring line) {
                   std::lock_guard<std::mutex> lock(queue.mutex);
                   queue.lines.push_back(std::move(line));
                   queue.wake.notify_one();
                 },
                 [&queue](std::wstring text) {
                   std::lock_guard<std::mutex> lock(queue.mutex);
                   queue.lastStatus = std::move(text);
                 },
                 [&queue](std::unique_ptr<RunOutcome> outcome) {
                   std::lock_guard<std::mutex> lock(queue.mutex);
                   queue.outcome = std::move(outcome);
                   queue.wake.notify_one();
                 }});
  CountInterrupts();
  const RunsInProgress running;

  // A sleeping machine would suspend the drive under test.
  platform::KeepSystemAwake(true);
  // The test thread wakes the loop when it returns, so the program ends with the run.
  std::thread worker([&queue, config, state] {
    RunTest(config, state);
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.finished = true;
    queue.wake.notify_one();
  });

  const bool progress = platform::IsStandardErrorTerminal();
  // A classic Windows console prints an escape sequence as it stands: blanks instead.
  const bool sequences = progress && platform::EnableTerminalSequences();
  bool stopSent = false;
  bool progressShown = false;
  size_t shown = 0;  // characters of the progress line on the terminal
  auto nextProgress = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::unique_ptr<RunOutcome> outcome;
  for (;;) {
    std::deque<std::wstring> lines;
    bool finished = false;
    {
      // Ctrl-C is noticed within 200 ms; the progress line, when shown, once a second.
      std::unique_lock<std::mutex> lock(queue.mutex);
      auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
      if (progress) deadline = std::min(deadline, nextProgress);
      queue.wake.wait_until(lock, deadline,
                            [&queue] { return !queue.lines.empty() || queue.outcome || queue.finished; });
      lines.swap(queue.lines);
      if (queue.outcome) outcome = std::move(queue.outcome);
      finished = queue.finished;
    }
    if (!lines.empty()) {
      if (progressShown) Err(ReplaceProgressLine(L"", shown, sequences));
      progressShown = false;
      std::wstring text;
      for (std::wstring& line : lines) text += ConsoleLine(std::move(line));
      Err(text);
    }
    if (Interrupts() > 0 && !stopSent) {
      stopSent = true;
      RequestStop(*state, InterruptStopReason());
      AppendDiagLog(kStopRequestedLog);
    }
    if (finished) break;
    if (progress && std::chrono::steady_clock::now() >= nextProgress) {
      const std::wstring line = BuildProgressView(TakeProgressSnapshot(*state), CurrentLanguage).statusText;
      Err(ReplaceProgressLine(line, progressShown ? shown : 0, sequences));
      shown = line.size();
      progressShown = true;
      nextProgress = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    }
  }
  worker.join();
  platform::KeepSystemAwake(false);
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    for (std::wstring& line : queue.lines) {
      Err((progressShown ? ReplaceProgressLine(L"", shown, sequences) : L"") + ConsoleLine(std::move(line)));
      progressShown = false;
    }
    if (queue.outcome) outcome = std::move(queue.outcome);
  }
  SetUiReceiver({});
  if (progressShown) Err(ReplaceProgressLine(L"", shown, sequences));
  // As the window's status line: the end summary, or the failure that ended the run early. The
  // German one is the row's reason in --summary-json.
  const ProgressSnapshot snapshot = TakeProgressSnapshot(*state);
  const Verdict* verdict = outcome ? &outcome->verdict : nullptr;
  const ProgressView view = BuildProgressView(snapshot, kLanguageGerman, verdict);
  *endStatus = view.keepStatus ? queue.lastStatus : view.statusText;
  Err((view.keepStatus ? Localize(queue.lastStatus) : BuildProgressView(snapshot, CurrentLanguage, verdict).statusText) +
      L"\n");
  return outcome;
}

// A run on one target, as velkor-cli always ran: the report on standard output. row receives what
// the summary of several targets would show of it.
int RunSingle(const CliOptions& o, bool verifyOnly, BatchRow* row) {
  const uint32_t cpus = CpuCount();
  const TargetStart start = PrepareTarget(o, row->target, verifyOnly, cpus, L"");
  if (start.described) DescribeRow(start, row);
  if (!start.refusal.empty()) {
    row->reason = ReasonOf(start.refusal);
    return Fail(Localize(start.refusal));
  }
  const StartPlan& plan = start.plan;
  LogToConsole();
  // The log, and the results unless --results-dir chose their place, stay off the drive under test.
  if (plan.ownFilesOnTarget) AppendDiagLog(MoveOwnFilesToUserFolder(o.resultsDir.empty()));
  for (const std::wstring& line : plan.effects.logLines) AppendDiagLog(line);
  if (plan.highWorkerWarning) Err(Localize(kHighWorkerWarning) + L"\n");

  const std::wstring elsewhere = DataDirectoryNote();
  if (!elsewhere.empty()) {
    AppendDiagLog(elsewhere);  // the log file; the console has no receiver yet
    Err(Localize(elsewhere) + L"\n");
  }
  const std::shared_ptr<TestState> state = NewRunState(plan.config);
  if (!LockRunTarget(*state)) {
    AppendDiagLog(std::wstring(L"Start abgelehnt: ") + kDriveBusyText);
    row->reason = kDriveBusyText;
    return Fail(ErrorLine(kDriveBusyText));
  }
  AppendDiagLog(verifyOnly ? L"Bedienung: velkor-cli verify." : L"Bedienung: velkor-cli test.");
  std::wstring endStatus;
  const std::unique_ptr<RunOutcome> outcome = RunWithConsole(plan.config, state, &endStatus);
  if (!outcome) {  // ended in its preflight; the log says why
    row->reason = ReasonOf(endStatus);
    return kExitInvalid;
  }
  FillRowFromRun(outcome->results, outcome->verdict, CurrentStopReason(*state), row);
  if (outcome->resultsSaved) row->resultsFile = outcome->databasePath;
  row->resultsSaved = outcome->resultsSaved;

  Out(ReportForConsole(*outcome));
  if (state->readsMayBeCached) Out(Localize(kDeviceCacheHint) + L"\n");
  if (outcome->resultsSaved) Out(Translate(L"cli_results_file") + outcome->databasePath + L"\n");
  // The window's delete check box only offers deletion; here --delete is the answer.
  // Nothing to delete on a drive that went away.
  if (o.deleteAtEnd && !verifyOnly && outcome->verdict.reason != StopReason::kDriveGone && !state->targetGone) {
    // The deletion runs here on the main thread: its lines, failures included, go straight to
    // the console like the run's.
    LogToConsole();
    DeleteRunTestFiles(*state);
    SetUiReceiver({});
  }

  if (Interrupts() > 0) return kExitInterrupted;
  // The verdict's: a failed medium and a run that did not finish its check are no clean end.
  const VerdictKind kind = outcome->verdict.kind;
  if (kind != VerdictKind::kOk && kind != VerdictKind::kOkPartial) return kExitFound;
  // The log said why: its "FEHLER:" line names the file and the system's reason.
  return outcome->resultsSaved ? kExitClean : kExitInvalid;
}

int RunTestOrVerify(const CliOptions& o, bool verifyOnly) {
  if (!o.resultsDir.empty()) {
    CreateFolders(o.resultsDir);
    SetResultsFolder(o.resultsDir);
  }
  // "Quorvel-Modus" tests the whole free space: a size or a reserve would be dropped without a word.
  if (!verifyOnly && o.profile == kProfileQuorvel && (o.sizeMb || o.reserveMb.value_or(0) != 0)) {
    return Fail(Translate(L"cli_quorvel_takes_no_size"));
  }
  // The summary is what a script reads at the end: a place it cannot be written fails now.
  if (!o.summaryJson.empty()) {
    const std::wstring problem = SummaryFileProblem(o.summaryJson);
    if (!problem.empty()) return Fail(Localize(problem));
  }
  if (o.targets.size() > 1) return RunBatch(o, verifyOnly);
  BatchRow row;
  row.target = o.targets.front();
  row.verifyOnly = verifyOnly;
  const int code = RunSingle(o, verifyOnly, &row);
  if (!o.summaryJson.empty()) WriteSummaryFile(o.summaryJson, {row}, verifyOnly, code);
  return code;
}

int RunExport(const CliOptions& o) {
  std::vector<ResultRecord> records;
  RunDiagnosis diagnosis;
  if (!LoadResultsFile(o.exportInput, &records, &diagnosis)) {
    const uint32_t code = platform::LastError();  // 0: read, but no results file
    return Fail(code != 0 ? FormatText(L"cli_results_unreadable_because", {o.exportInput, FormatWindowsError(code)})
                          : FormatText(L"cli_results_unreadable", {o.exportInput}));
  }
  // The export never takes the place of what it was made from, whatever name leads there.
  platform::FileIdentity input, output;
  if (platform::QueryPathIdentity(o.exportInput, &input) && platform::QueryPathIdentity(o.exportOutput, &output) &&
      input == output) {
    return Fail(FormatText(L"cli_export_is_input", {o.exportOutput}));
  }
  if (records.empty()) return Fail(FormatText(L"cli_results_empty", {o.exportInput}));
  // The file's own header: the drive and the evidence, and whether its run ever ended.
  ResultsFileHeader header;
  LoadResultsHeader(o.exportInput, &header);
  if (!WriteExport(*o.exportFormat, o.exportOutput, records, header, &diagnosis)) {
    return Fail(FormatText(L"cli_export_failed", {o.exportOutput, FormatWindowsError(platform::LastError())}));
  }
  Err(Translate(L"export_done") + o.exportOutput + L"\n");
  return kExitClean;
}

int RunDrives() {
  EnumerateDrives();
  Out(FormatDriveTableText(DriveTable));
  return kExitClean;
}

}  // namespace

int RunCli(const std::vector<std::wstring>& args) {
  // The terminal speaks the user's language; files and --summary-json stay German.
  CurrentLanguage = CliLanguage(args, DefaultLanguage());
  CliOptions options;
  std::wstring error;
  if (!ParseCliArgs(args, &options, &error)) return Fail(L"velkor-cli: " + error);
  if (options.version) {
    Out(CliVersionText());
    return kExitClean;
  }
  if (options.help) {
    Out(CliHelpText(options.command, CpuCount(), JoinPath(GetDataDirectory(), L"results")));
    return kExitClean;
  }
  switch (options.command) {
    case CliCommand::kTest: return RunTestOrVerify(options, false);
    case CliCommand::kVerify: return RunTestOrVerify(options, true);
    case CliCommand::kExport: return RunExport(options);
    case CliCommand::kDrives: return RunDrives();
    case CliCommand::kNone: break;
  }
  Out(CliHelpText(CliCommand::kNone, CpuCount(), JoinPath(GetDataDirectory(), L"results")));
  return kExitInvalid;
}

}  // namespace velkor
