#include "engine/job_runner.h"

#include <thread>
#include <vector>

#include "common/diag_log.h"
#include "common/format.h"
#include "engine/block_verifier.h"
#include "engine/block_writer.h"
#include "engine/medium_sync.h"
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
  job.ioChunkSize = v.accessType.ioChunkSize;
  job.verify = verifyOnly ? true : v.accessType.verifyAfterWrite;
  job.writeThrough = verifyOnly ? false : v.accessType.writeThrough;
  return job;
}

void ResetJobState(TestState& s, const TestVariant& v, int32_t phase) {
  s.blockSize = v.blockSize;
  s.jobBytes = v.byteCount;
  s.totalBlocks = v.blockSize ? v.byteCount / v.blockSize : 0;
  s.blocksWritten = 0;
  s.blocksVerified = 0;
  s.errorCount = 0;
  s.phase = phase;
}

template <typename Worker>
void RunWorkers(Worker worker, const TestConfig& job, const std::shared_ptr<TestState>& state) {
  std::vector<std::thread> threads;
  threads.reserve(job.workerCount);
  for (uint32_t i = 0; i < job.workerCount; ++i) threads.emplace_back(worker, std::cref(job), state, i);
  for (std::thread& t : threads) t.join();
}

double SecondsSince(int64_t t0) {
  const int64_t frequency = platform::QueryCounterFrequency();
  return frequency > 0 ? static_cast<double>(platform::QueryCounter() - t0) / static_cast<double>(frequency) : 0.0;
}

// Verification must read what the medium kept, not what the writers left in the cache. A write
// job's data is flushed first: a flush that fails means the medium did not take it, an error.
bool PrepareVerifyFromMedium(const TestConfig& job, TestState& s, bool afterWrite) {
  uint32_t code = 0;
  if (afterWrite && !FlushAndEvictFile(job.filePath, &code)) {
    s.errorCount += 1;
    s.stopRequested = true;
    AppendDiagLog(L"FEHLER: Testdatei konnte nicht auf das Medium geschrieben werden. Datei=" + job.filePath + L", " +
                  FormatWindowsError(code));
    return false;
  }
  if (!afterWrite && !EvictFile(job.filePath, &code)) {
    AppendDiagLog(L"Hinweis: Testdatei konnte nicht aus dem Cache entfernt werden, die Prüfung liest eventuell "
                  L"zwischengespeicherte Daten. Datei=" + job.filePath + L", " + FormatWindowsError(code));
  }
  if (!CanReadPastCache(job)) {
    AppendDiagLog(L"Hinweis: Direktes Lesen am Cache vorbei ist für diese Datei nicht möglich (Ausrichtung oder "
                  L"Dateisystem); die Prüfung liest über den Cache. Datei=" + job.filePath);
  }
  return true;
}

double Speed(const TestState& s, uint64_t movedBlocks, uint32_t blockSize, double seconds) {
  if (s.stopRequested || s.errorCount != 0 || seconds <= 0.001) return 0.0;
  return static_cast<double>(movedBlocks) * blockSize / 1048576.0 / seconds;
}

// The job's record from its plan entry and the state its workers left.
ResultRecord JobRecord(const TestVariant& v, const TestState& s, bool verified, uint64_t movedBlocks,
                       double seconds) {
  ResultRecord r;
  r.method = v.accessType.name;
  r.workers = v.workerCount;
  r.blockSize = v.blockSize;
  r.bytes = v.byteCount;
  r.verified = verified;
  r.seconds = seconds;
  r.mbPerSecond = Speed(s, movedBlocks, v.blockSize, seconds);
  r.errors = s.errorCount;
  r.cancelled = s.stopRequested;
  return r;
}

}  // namespace

ResultRecord RunVariant(const TestConfig& config, const TestVariant& variant, const std::shared_ptr<TestState>& state) {
  TestState& s = *state;
  const TestConfig job = JobConfig(config, variant, false);
  ResetJobState(s, variant, kPhaseWriting);
  const int64_t t0 = platform::QueryCounter();
  s.startTicks = t0;

  RunWorkers(WriteWorker, job, state);
  if (!s.stopRequested && s.errorCount == 0 && job.verify) {
    // What verification reads must come from the medium, not from the cache the writers filled.
    if (PrepareVerifyFromMedium(job, s, true)) {
      s.phase = kPhaseVerifying;
      RunWorkers(VerifyWorker, job, state);
    }
  }
  const double seconds = SecondsSince(t0);

  const uint64_t written = s.blocksWritten;
  const uint64_t verified = s.blocksVerified;
  const ResultRecord r = JobRecord(variant, s, job.verify, written + (job.verify ? verified : 0), seconds);
  AppendDiagLog(L"Variante beendet: Art des Zugriffs=" + r.method + L", Worker=" + std::to_wstring(r.workers) +
                L", I/O-Teilstück=" + std::to_wstring(variant.accessType.ioChunkSize) + L", geschrieben=" +
                std::to_wstring(written) + L", geprüft=" + std::to_wstring(verified) + L", Fehler=" +
                std::to_wstring(r.errors) + L", abgebrochen=" + (r.cancelled ? L"ja" : L"nein") + L", Dauer=" +
                FormatDuration(seconds) + L", MB/s=" + FormatDecimal2(r.mbPerSecond));
  return r;
}

ResultRecord RunVerifyOnlyVariant(const TestConfig& config, const TestVariant& variant,
                                  const std::shared_ptr<TestState>& state) {
  TestState& s = *state;
  const TestConfig job = JobConfig(config, variant, true);
  ResetJobState(s, variant, kPhaseVerifying);
  const int64_t t0 = platform::QueryCounter();
  s.startTicks = t0;

  if (PrepareVerifyFromMedium(job, s, false)) RunWorkers(VerifyWorker, job, state);
  const double seconds = SecondsSince(t0);

  const uint64_t verified = s.blocksVerified;
  const ResultRecord r = JobRecord(variant, s, true, verified, seconds);
  AppendDiagLog(L"Nur-Prüfen beendet: Art des Zugriffs=" + r.method + L", Worker=" + std::to_wstring(r.workers) +
                L", geprüft=" + std::to_wstring(verified) + L", Fehler=" + std::to_wstring(r.errors) + L", Dauer=" +
                FormatDuration(seconds) + L", MB/s=" + FormatDecimal2(r.mbPerSecond));
  return r;
}

}  // namespace velkor
