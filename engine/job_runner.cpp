#include "engine/job_runner.h"

#include <thread>
#include <vector>

#include "common/diag_log.h"
#include "common/handover.h"
#include "common/format.h"
#include "engine/block_verifier.h"
#include "engine/block_writer.h"
#include "engine/medium_sync.h"
#include "engine/target_guard.h"
#include "platform/system.h"

namespace velkor {
namespace {

TestConfig JobConfig(const TestConfig& config, const TestVariant& v, bool verifyOnly) {
  TestConfig job = config;
  job.startOffset = v.fileOffset;
  job.testSize = v.byteCount;
  job.blockSize = v.blockSize;
  job.workerCount = v.workerCount;
  job.filePath = v.filePath;
  job.patternBase = v.patternBase;
  job.ioChunkSize = v.accessType.ioChunkSize;
  job.verify = verifyOnly ? true : v.accessType.verifyAfterWrite;
  job.writeThrough = verifyOnly ? false : v.accessType.writeThrough;
  return job;
}

// The per-job fields of the state for a stage; the counters start from what the job did before.
void ResetJobState(TestState& s, const TestVariant& v, int32_t phase, uint64_t written, uint64_t errors) {
  s.blockSize = v.blockSize;
  s.jobBytes = v.byteCount;
  s.totalBlocks = v.blockSize ? v.byteCount / v.blockSize : 0;
  s.blocksWritten = written;
  s.blocksVerified = 0;
  ResetBlockOrder(s.blockOrder);
  s.errorCount = errors;
  s.phase = phase;
  s.startTicks = platform::QueryCounter();
}

template <typename Worker>
void RunWorkers(Worker worker, const TestConfig& job, const std::shared_ptr<TestState>& state) {
  std::vector<std::thread> threads;
  threads.reserve(job.workerCount);
  // The workers log for the run that started them.
  const std::shared_ptr<const RunContext> context = ThreadRunContext();
  for (uint32_t i = 0; i < job.workerCount; ++i) {
    threads.emplace_back([&worker, &job, &state, &context, i] {
      const ScopedRunContext scope(context);
      worker(job, state, i);
    });
  }
  for (std::thread& t : threads) t.join();
}

double SecondsSince(int64_t t0) {
  const int64_t frequency = platform::QueryCounterFrequency();
  return frequency > 0 ? static_cast<double>(platform::QueryCounter() - t0) / static_cast<double>(frequency) : 0.0;
}

// After the write stage: a flush that fails means the medium did not take the data, an error.
void FlushWrittenFile(const TestConfig& job, TestState& s) {
  uint32_t code = 0;
  if (FlushAndEvictFile(job.filePath, &code)) return;
  // A volume that went away leaves the path to nothing or to the folder beneath: the run stops
  // for the drive's going, not for a fault of the medium.
  if (TargetGoneAfterFailure(s, code)) return;
  s.errorCount += 1;
  RequestStop(s, StopReason::kIoFailure);
  AppendDiagLog(L"FEHLER: Testdatei konnte nicht auf das Medium geschrieben werden. Datei=" + job.filePath + L", " +
                FormatWindowsError(code));
}


double Speed(const ResultRecord& r, uint64_t movedBytes) {
  if (r.stopReason != StopReason::kNone || r.errors != 0 || r.seconds <= 0.001) return 0.0;
  return static_cast<double>(movedBytes) / 1048576.0 / r.seconds;
}

// The job's record from its plan entry, before anything ran.
ResultRecord PlannedRecord(const TestVariant& v) {
  ResultRecord r;
  r.method = v.accessType.name;
  r.workers = v.workerCount;
  r.blockSize = v.blockSize;
  r.bytes = v.byteCount;
  return r;
}

void SetStop(ResultRecord& r, StopReason reason) {
  r.stopReason = reason;
  r.cancelled = IsCancelStop(reason);
}

}  // namespace

void PrepareVerifyFromMedium(const TestConfig& job, TestState& s) {
  uint32_t code = 0;
  if (!EvictFile(job.filePath, &code)) {
    AppendDiagLog(L"Hinweis: Testdatei konnte nicht aus dem Cache entfernt werden, die Prüfung liest eventuell "
                  L"zwischengespeicherte Daten. Datei=" + job.filePath + L", " + FormatWindowsError(code));
  }
  std::wstring device;
  if (!DropDeviceCacheFor(job.filePath, &device, &code) && !s.readsMayBeCached.exchange(true)) {
    AppendDiagLog(kDeviceCacheHint + std::wstring(L" Gerät=") + device + L", " + FormatWindowsError(code));
  }
  if (!CanReadPastCache(job)) {
    AppendDiagLog(L"Hinweis: Direktes Lesen am Cache vorbei ist für diese Datei nicht möglich (Dateisystem); "
                  L"die Prüfung liest über den Cache. Datei=" + job.filePath);
  }
}

WrittenJob RunWriteStage(const TestConfig& config, const TestVariant& variant, const std::shared_ptr<TestState>& state) {
  TestState& s = *state;
  const TestConfig job = JobConfig(config, variant, false);
  ResetJobState(s, variant, kPhaseWriting, 0, 0);
  const int64_t t0 = s.startTicks;

  RunWorkers(WriteWorker, job, state);
  WrittenJob written;
  written.variant = variant;
  written.verifyPending = !s.stopRequested && s.errorCount == 0 && job.verify;
  if (written.verifyPending) {
    FlushWrittenFile(job, s);
    written.verifyPending = !s.stopRequested && s.errorCount == 0;
  }
  ResultRecord& r = written.record;
  r = PlannedRecord(variant);
  r.seconds = SecondsSince(t0);
  r.writeSeconds = r.seconds;
  r.writtenBytes = s.blocksWritten * uint64_t{variant.blockSize};
  r.errors = s.errorCount;
  SetStop(r, CurrentStopReason(s));
  r.mbPerSecond = job.verify ? 0.0 : Speed(r, r.writtenBytes);
  return written;
}

void RunVerifyStage(const TestConfig& config, WrittenJob& written, const std::shared_ptr<TestState>& state) {
  TestState& s = *state;
  const TestVariant& variant = written.variant;
  const TestConfig job = JobConfig(config, variant, false);
  ResultRecord& r = written.record;
  const uint64_t writtenBlocks = variant.blockSize ? r.writtenBytes / variant.blockSize : 0;
  uint64_t verifiedBlocks = 0;
  if (written.verifyPending && !s.stopRequested) {
    ResetJobState(s, variant, kPhaseVerifying, writtenBlocks, r.errors);
    const int64_t t0 = s.startTicks;
    PrepareVerifyFromMedium(job, s);
    RunWorkers(VerifyWorker, job, state);
    verifiedBlocks = s.blocksVerified;
    r.verifySeconds = SecondsSince(t0);
    r.seconds += r.verifySeconds;
    r.errors = s.errorCount;
    r.verifiedBytes = verifiedBlocks * variant.blockSize;
    r.verified = r.verifiedBytes == r.bytes;
    SetStop(r, CurrentStopReason(s));
    r.mbPerSecond = Speed(r, r.writtenBytes + r.verifiedBytes);
  } else if (written.verifyPending) {
    SetStop(r, CurrentStopReason(s));  // the run stopped before this file's turn came
    r.mbPerSecond = 0.0;
  }
  written.verifyPending = false;
  AppendDiagLog(L"Variante beendet: Art des Zugriffs=" + r.method + L", Worker=" + std::to_wstring(r.workers) +
                L", I/O-Teilstück=" + std::to_wstring(variant.accessType.ioChunkSize) + L", geschrieben=" +
                std::to_wstring(writtenBlocks) + L", geprüft=" + std::to_wstring(verifiedBlocks) + L", Fehler=" +
                std::to_wstring(r.errors) + L", abgebrochen=" + (r.cancelled ? L"ja" : L"nein") + L", Dauer=" +
                FormatDuration(r.seconds) + L", MB/s=" + FormatDecimal2(r.mbPerSecond));
}

ResultRecord RunVariant(const TestConfig& config, const TestVariant& variant, const std::shared_ptr<TestState>& state) {
  WrittenJob written = RunWriteStage(config, variant, state);
  RunVerifyStage(config, written, state);
  return written.record;
}

ResultRecord RunVerifyOnlyVariant(const TestConfig& config, const TestVariant& variant,
                                  const std::shared_ptr<TestState>& state) {
  TestState& s = *state;
  const TestConfig job = JobConfig(config, variant, true);
  ResetJobState(s, variant, kPhaseVerifying, 0, 0);
  const int64_t t0 = s.startTicks;

  PrepareVerifyFromMedium(job, s);
  RunWorkers(VerifyWorker, job, state);
  ResultRecord r = PlannedRecord(variant);
  r.seconds = SecondsSince(t0);
  r.verifySeconds = r.seconds;
  const uint64_t verified = s.blocksVerified;
  r.verifiedBytes = verified * variant.blockSize;
  r.verified = r.verifiedBytes == r.bytes;
  r.errors = s.errorCount;
  SetStop(r, CurrentStopReason(s));
  r.mbPerSecond = Speed(r, r.verifiedBytes);
  AppendDiagLog(L"Nur-Prüfen beendet: Art des Zugriffs=" + r.method + L", Worker=" + std::to_wstring(r.workers) +
                L", geprüft=" + std::to_wstring(verified) + L", Fehler=" + std::to_wstring(r.errors) + L", Dauer=" +
                FormatDuration(r.seconds) + L", MB/s=" + FormatDecimal2(r.mbPerSecond));
  return r;
}

}  // namespace velkor
