#include "engine/run_thread.h"

#include <string>
#include <vector>

#include "common/diag_log.h"
#include "common/format.h"
#include "engine/diagnosis_analysis.h"
#include "engine/diagnosis_collector.h"
#include "engine/diagnosis_device.h"
#include "engine/diagnosis_sample.h"
#include "engine/job_runner.h"
#include "engine/method_plan.h"
#include "engine/method_results.h"
#include "engine/progress_text.h"
#include "engine/run_outcome.h"
#include "engine/run_files.h"
#include "engine/job_variant.h"
#include "engine/target_guard.h"
#include "engine/verify_only_files.h"
#include "engine/worker_limits.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/volumes.h"
#include "results/results_database.h"

namespace velkor {
namespace {

const wchar_t* YesNo(bool value) { return value ? L"ja" : L"nein"; }

std::wstring Num(uint64_t value) { return std::to_wstring(value); }

// A run that ends before its first job: the front-end hears why, and its results file, which
// holds nothing, goes again so that the saved tests list only runs that tested something.
void EndWithoutOutcome(TestState& state, const std::wstring& databasePath = L"") {
  ThreadFailure failure = TakeThreadFailure();
  state.failureStatus = std::move(failure.statusText);
  state.failureLine = std::move(failure.logLine);
  // The log named the file at the start: it says where it went.
  if (!databasePath.empty() && platform::DeleteFileAtPath(databasePath)) {
    AppendDiagLog(L"JSON-Datenbankdatei ohne Ergebnis entfernt: " + databasePath);
  }
  platform::UnlockVolume(state.targetLock);
  state.preflightFailed = true;
  state.running = false;
  state.phase = kPhaseFinished;
}

void LogConfiguration(const TestConfig& c) {
  AppendDiagLog(L"Konfiguration: Datei=" + c.filePath + L", StartOffset=" + Num(c.startOffset) +
                L", Testgröße=" + Num(c.testSize) + L" Bytes, Blockgröße=" + Num(c.blockSize) +
                L" Bytes, Testpunkte=" + Num(c.testPoints) + L", TestpunkteZufällig=" + YesNo(c.randomTestPoints) +
                L", Methodentest=" + YesNo(c.methodTest) + L", SchnellsteÜbernehmen=" + YesNo(c.useFastest) +
                L", NurZuverlässigBenchmark=" + YesNo(c.reliableOnlyBenchmark) +
                L", BenchmarkBytes=" + Num(c.benchmarkBytes) + L", NurPrüfen=" + YesNo(c.verifyOnly) +
                L", Worker=" + Num(c.workerCount) + L", RestFrei=" + Num(c.reserveFree) + L" Bytes" +
                L", Dateisystem=" + c.fileSystem + L", Verify=" + YesNo(c.verify) +
                L", Flush=" + YesNo(c.writeThrough) + L", LöschenAmEnde=" + YesNo(c.deleteAtEnd));
}

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

// The full test takes over the fastest method-test variant: its access type, workers and block.
void TakeOverFastest(const ResultRecord& fastest, std::vector<TestVariant>& fullPlan) {
  AccessType type;
  type.name = fastest.method;
  type.verifyAfterWrite = true;
  type.writeThrough = Contains(fastest.method, L"Zuverlässig");
  type.ioChunkSize = type.writeThrough ? 65536 : (Contains(fastest.method, L"Turbo") ? 1048576 : 262144);
  for (TestVariant& entry : fullPlan) {
    entry.accessType = type;
    entry.accessType.name += L" (Volltest)";
    entry.workerCount = fastest.workers;
    entry.blockSize = fastest.blockSize;
    entry.byteCount = RoundDownToMultiple(entry.byteCount, fastest.blockSize);
  }
  AppendDiagLog(L"Schnellste Variante wird für den Volltest benutzt: " + fastest.method + L", Worker " +
                Num(fastest.workers) + L", Block " + Num(fastest.blockSize / 1024) + L" KB.");
}

// The end status shows the whole full test, not its last file: its counters become the sums of
// the full-test records (they share one block size).
void ShowFullTestTotals(TestState& s, const std::vector<ResultRecord>& results, size_t first, int64_t start) {
  if (first >= results.size() || results[first].blockSize == 0) return;
  const uint64_t block = results[first].blockSize;
  uint64_t planned = 0, written = 0, verified = 0, errors = 0;
  for (size_t i = first; i < results.size(); ++i) {
    planned += results[i].bytes / block;
    written += results[i].writtenBytes / block;
    verified += results[i].verifiedBytes / block;
    errors += results[i].errors;
  }
  s.blockSize = static_cast<uint32_t>(block);
  s.totalBlocks = planned;
  s.blocksWritten = written;
  s.blocksVerified = verified;
  s.errorCount = errors;
  s.startTicks = start;
}

const wchar_t* EndOfRunLine(StopReason reason) {
  switch (reason) {
    case StopReason::kNone: return L"Test abgeschlossen.";
    case StopReason::kErrorLimit:
    case StopReason::kIoFailure: return L"Test wegen Fehlern des Mediums beendet.";
    case StopReason::kFileSystemLimit: return L"Test abgebrochen: Grenze des Dateisystems erreicht.";
    case StopReason::kFileHeld: return L"Test abgebrochen: Eine Testdatei war von einem anderen Programm belegt.";
    default: return L"Test abgebrochen.";
  }
}

// The run's results file. A save that fails is said once until one works again, and the last
// save decides what the front-end hears: a results file that was not saved is no result.
struct ResultsSaving {
  std::wstring path;
  bool failing = false;
  std::wstring failureLine;  // the last "FEHLER:" line of a failed save
};

bool SaveRunResults(ResultsSaving& saving, const ResultsFileHeader& header, const std::vector<ResultRecord>& results,
                    bool final, const RunDiagnosis* diagnosis = nullptr) {
  if (SaveResultsFile(saving.path, header, results, final, diagnosis)) {
    saving.failing = false;
    return true;
  }
  const uint32_t code = platform::LastError();
  if (saving.failing && !final) return false;
  saving.failing = true;
  saving.failureLine = L"FEHLER: Ergebnisdatei konnte nicht gespeichert werden. Datei=" + saving.path + L", " +
                       FormatWindowsError(code);
  AppendDiagLog(saving.failureLine);
  if (final) PostStatusText(L"Fehler: Ergebnisdatei konnte nicht gespeichert werden.");
  return false;
}

}  // namespace

std::shared_ptr<TestState> NewRunState(const TestConfig& config) {
  auto state = std::make_shared<TestState>();
  state->running = true;
  state->driveRoot = config.driveRoot;
  state->filePath = config.filePath;
  return state;
}

void RunTest(TestConfig config, std::shared_ptr<TestState> state) {
  TestState& s = *state;
  // NewRunState fills these before the thread starts and the front-end reads them while it runs:
  // write only what is missing. A stop requested before this point stays requested.
  if (s.driveRoot.empty()) s.driveRoot = config.driveRoot;
  if (s.filePath.empty()) s.filePath = config.filePath;
  s.deletePending = false;
  s.deletePrompted = false;
  s.phase = kPhaseWriting;
  const ThreadFailureScope failures;  // what ends the run early, for the front-end

  PostStatusAndLog((config.verifyOnly ? L"Nur prüfen: Vorprüfung für Laufwerk " : L"Start gedrückt: Vorprüfung für Laufwerk ") +
                   config.driveRoot);
  LogConfiguration(config);
  if (config.isFat32 && config.testSize >= 536870912ULL) {
    AppendDiagLog(L"FAT32-Hinweis: 1 GB ist grundsätzlich erlaubt, aber manche USB-Controller reagieren auf große "
                  L"Dateien empfindlich. Bei weiteren Fehlern bitte 256 MB oder 512 MB testen.");
  }

  if (config.verifyOnly) MatchVerifyOnlyToFiles(config);

  std::vector<ResultRecord> results;
  const std::wstring databasePath = MakeResultsFilePath(config.driveRoot);
  ResultsFileHeader header = ResultsHeaderOf(config);
  header.startedAt = MakeLogTimestamp();
  ResultsSaving saving;
  saving.path = databasePath;
  AppendDiagLog(L"JSON-Datenbankdatei: " + databasePath);
  SaveRunResults(saving, header, results, false);

  std::vector<TestVariant> methodPlan;
  if (config.methodTest && !config.verifyOnly) {
    methodPlan = BuildMethodTestPlan(config);
    if (methodPlan.empty()) {
      AppendDiagLog(L"FEHLER: Es konnte kein Methodentestplan erzeugt werden. Bitte Testgröße oder Blockgröße erhöhen.");
      PostStatusText(L"Fehler: Kein Methodentest möglich.");
      return EndWithoutOutcome(s, databasePath);
    }
  }
  std::vector<TestVariant> fullPlan = BuildFullTestPlan(config);
  if (fullPlan.empty()) {
    AppendDiagLog(L"FEHLER: Es konnte kein Volltestplan erzeugt werden. Bitte Testgröße oder Blockgröße prüfen.");
    PostStatusText(L"Fehler: Kein Volltest möglich.");
    return EndWithoutOutcome(s, databasePath);
  }
  // The folder as it is now: from here on nothing is written once the path leads elsewhere.
  const bool targetKnown = RecordTargetFolder(s);
  const uint32_t targetError = platform::LastError();
  if (!CheckFreeSpace(config, ReusableTestFileBytes(CreatedFilesList(methodPlan, fullPlan)), &header.freeBytes,
                      &header.capacityBytes)) {
    return EndWithoutOutcome(s, databasePath);
  }
  std::wstring unusedFileSystem;
  platform::QueryVolumeNames(config.driveRoot, &header.label, &unusedFileSystem);
  if (!targetKnown) {
    AppendDiagLog(L"FEHLER: Zielordner kann nicht erkannt werden. Ordner=" + s.driveRoot + L", " +
                  FormatWindowsError(targetError));
    PostStatusText(L"Fehler: Zielordner kann nicht erkannt werden.");
    return EndWithoutOutcome(s, databasePath);
  }

  s.createdFiles = CreatedFilesList(methodPlan, fullPlan);
  if (config.verifyOnly ? !CheckVerifyOnlyFiles(fullPlan, s) : !CreateTestFiles(s)) {
    return EndWithoutOutcome(s, databasePath);
  }

  SetRunBytes(s, PlannedRunBytes(methodPlan, false) + PlannedRunBytes(fullPlan, config.verifyOnly));
  AppendDiagLog((config.verifyOnly ? L"Start: Nur prüfen auf Laufwerk " : L"Start: Volltest auf Laufwerk ") +
                config.driveRoot + L" (" + config.fileSystem + L"), " + Num(config.testSize / 1048576) + L" MB");
  AppendDiagLog(L"Erzeugte Testdateien: " + Num(s.createdFiles.size()));
  AppendDiagLog(L"Explorer-Kontrolle: " + config.driveRoot);

  if (!methodPlan.empty()) {
    const size_t n = methodPlan.size();
    AppendDiagLog(L"Methodentest: " + Num(n) +
                  L" Varianten (ein CPU-Kern bleibt frei; Worker maximal bis zur erlaubten Grenze).");
    for (size_t i = 0; i < n; ++i) {
      if (!TargetStillInPlace(s) || s.stopRequested) break;
      const TestVariant& v = methodPlan[i];
      PostStatusAndLog(L"Variante " + Num(i + 1) + L"/" + Num(n) + L": Art des Zugriffs " + v.accessType.name +
                       L", Worker " + Num(v.workerCount) + L", Block " + Num(v.blockSize / 1024) + L" KB" +
                       L", Testpunkt " + Num(v.index + 1) + L", " + Num(v.byteCount / 1048576) + L" MB");
      SetRunPart(s, kRunPartMethodTest, i + 1, n);
      results.push_back(RunVariant(config, v, state));
      SaveRunResults(saving, header, results, false);
    }
    LogTestListAndRecommend(config, results);
    const int32_t fastest = FindFastestResult(results);
    if (config.useFastest && fastest >= 0) {
      TakeOverFastest(results[static_cast<size_t>(fastest)], fullPlan);
      SetRunBytes(s, PlannedRunBytes(methodPlan, false) + PlannedRunBytes(fullPlan, false));
    }
    if (!config.verifyOnly) RemoveMethodTestFiles(methodPlan, fullPlan, s.createdFiles, s.createdIdentities);
  }

  // Every full-test file is written before any is read back: a medium that wraps its writes around
  // overwrites the earlier files with the later ones, and only a read-back after the last write
  // sees that. Each file keeps its own record.
  const size_t m = fullPlan.size();
  std::vector<WrittenJob> written;
  const size_t firstFull = results.size();
  const int64_t fullStart = platform::QueryCounter();
  const std::shared_ptr<DiagnosisCollector> collector = NewDiagnosisCollector(config, fullPlan);
  s.diagnosis = collector;
  if (config.verifyOnly) {
    MarkReadStart(*collector);
  } else {
    MarkWriteStart(*collector);
  }
  bool checkBegan = false;  // the full test's read-back started: every file was written
  for (size_t i = 0; i < m; ++i) {
    if (!TargetStillInPlace(s) || s.stopRequested) break;
    const TestVariant& v = fullPlan[i];
    PostStatusAndLog(L"Volltest " + Num(i + 1) + L"/" + Num(m) + L": " + v.filePath + L", Art des Zugriffs " +
                     v.accessType.name + L", Worker " + Num(v.workerCount) + L", Block " + Num(v.blockSize / 1024) +
                     L" KB" + L", " + Num(v.byteCount / 1048576) + L" MB");
    SetRunPart(s, config.verifyOnly ? kRunPartVerifyOnly : kRunPartFullTest, i + 1, m);
    if (config.verifyOnly) {
      checkBegan = true;
      results.push_back(RunVerifyOnlyVariant(config, v, state));
    } else {
      written.push_back(RunWriteStage(config, v, state));
      results.push_back(written.back().record);
    }
    SaveRunResults(saving, header, results, false);
  }
  if (!config.verifyOnly) MarkReadStart(*collector);
  for (size_t k = 0; k < written.size(); ++k) {
    if (m > 1 && written[k].verifyPending && !s.stopRequested) {
      PostStatusAndLog(L"Volltest prüfen " + Num(k + 1) + L"/" + Num(m) + L": " + written[k].variant.filePath);
    }
    checkBegan = checkBegan || (written[k].verifyPending && !s.stopRequested);
    SetRunPart(s, kRunPartFullTest, k + 1, m);
    RunVerifyStage(config, written[k], state);
    results[firstFull + k] = written[k].record;
    SaveRunResults(saving, header, results, false);
  }

  // The medium's errors ended the check before every block was read back: a sample of the rest
  // lets the diagnosis speak for the whole test.
  bool restSampled = false;
  if (checkBegan && IsStopByErrors(CurrentStopReason(s)) && s.phase == kPhaseVerifying) {
    restSampled = SampleUncheckedBlocks(*collector, config, fullPlan, s);
  }
  s.diagnosis.reset();
  RunDiagnosis diagnosis;
  MapBlocksToDevice(*collector, s);
  diagnosis.diagnosis = AnalyzeDiagnosis(*collector, restSampled);
  diagnosis.speedCurve = BuildSpeedCurve(*collector, platform::QueryCounterFrequency());
  for (const std::wstring& line : DiagnosisLogLines(diagnosis.diagnosis)) AppendDiagLog(line);

  SetRunPart(s, kRunPartNone, 0, 0);
  ShowFullTestTotals(s, results, firstFull, fullStart);
  header.stopReason = CurrentStopReason(s);
  const Verdict verdict = JudgeRun(results, &diagnosis.diagnosis, RunFactsOf(header));
  // The method test's choice is no advice for a medium that failed: not in the table, the file
  // or an export.
  if (verdict.kind == VerdictKind::kFailed) {
    for (ResultRecord& r : results) r.recommended = false;
  }
  const bool saved = SaveRunResults(saving, header, results, true, &diagnosis);
  RunOutcome outcome;
  outcome.driveRoot = config.driveRoot;
  outcome.fileSystem = config.fileSystem;
  outcome.databasePath = databasePath;
  outcome.verdict = verdict;
  outcome.header = header;
  // No question about files on a drive that is not there.
  s.deletePending = config.deleteAtEnd && !config.verifyOnly && header.stopReason != StopReason::kDriveGone &&
                    !s.targetGone.load();
  outcome.resultsSaved = saved;
  if (!saved) outcome.resultsFailureLine = saving.failureLine;
  outcome.results = std::move(results);
  outcome.diagnosis = std::move(diagnosis);
  PostTestFinished(std::move(outcome));
  AppendDiagLog(EndOfRunLine(CurrentStopReason(s)));
  platform::UnlockVolume(s.targetLock);
  s.running = false;
  s.phase = kPhaseFinished;
}

}  // namespace velkor
