#include "engine/diagnosis_sample.h"

#include <algorithm>
#include <map>
#include <string>

#include "common/diag_log.h"
#include "engine/block_buffer.h"
#include "engine/block_io.h"
#include "engine/job_runner.h"
#include "engine/diagnosis_analysis.h"
#include "engine/medium_sync.h"
#include "engine/pattern.h"
#include "engine/target_guard.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/system.h"

namespace velkor {
namespace {

// The indices of the unchecked blocks of the given ranks (ascending).
std::vector<uint64_t> UncheckedAtRanks(const DiagnosisCollector& c, const std::vector<uint64_t>& ranks) {
  std::vector<uint64_t> picks;
  uint64_t rank = 0;  // unchecked blocks before the current word
  size_t next = 0;
  for (size_t w = 0; w < c.checkedWords && next < ranks.size(); ++w) {
    const uint64_t base = static_cast<uint64_t>(w) * 64;
    const uint64_t valid = std::min<uint64_t>(64, c.totalBlocks - base);
    const uint64_t mask = valid == 64 ? ~uint64_t{0} : (uint64_t{1} << valid) - 1;
    uint64_t unchecked = ~c.checked[w].load(std::memory_order_relaxed) & mask;
    const uint64_t here = static_cast<uint64_t>(__builtin_popcountll(unchecked));
    if (ranks[next] >= rank + here) {
      rank += here;
      continue;
    }
    for (; unchecked != 0; unchecked &= unchecked - 1, ++rank) {
      if (next < ranks.size() && ranks[next] == rank) {
        picks.push_back(base + static_cast<uint64_t>(__builtin_ctzll(unchecked)));
        ++next;
      }
    }
  }
  return picks;
}

// Reads blocks of the test files as the verify workers do, keeping the last file open.
struct SampleReader {
  DiagnosisCollector& c;
  TestState& state;
  const TestConfig& config;
  const std::vector<TestVariant>& plan;
  const DiagnosisFile* open = nullptr;
  platform::FileHandle file;
  VerifyReadMode mode;
  BlockBuffer buffer, bounce;
  std::map<const DiagnosisFile*, bool> failed;  // files that would not open, logged once

  SampleReader(DiagnosisCollector& collector, TestState& runState, const TestConfig& run,
               const std::vector<TestVariant>& fullPlan)
      : c(collector), state(runState), config(run), plan(fullPlan) {}
  ~SampleReader() { Close(); }

  void Close() {
    if (file.valid()) platform::CloseFile(file);
    open = nullptr;
  }

  TestConfig JobOf(const DiagnosisFile& f) const {
    TestConfig job = config;
    job.filePath = f.path;
    job.startOffset = f.fileOffset;
    job.blockSize = c.blockSize;
    job.patternBase = f.patternBase;
    for (const TestVariant& v : plan) {
      if (v.filePath == f.path) job.ioChunkSize = v.accessType.ioChunkSize;
    }
    return job;
  }

  bool Open(const DiagnosisFile& f) {
    if (open == &f) return true;
    Close();
    if (failed.count(&f)) return false;
    const TestConfig job = JobOf(f);
    PrepareVerifyFromMedium(job, state);
    mode = ChooseVerifyReadMode(job);
    if (mode.pastCache) file = platform::OpenFileForDirectRead(f.path);
    if (!file.valid()) {
      mode.pastCache = false;
      file = platform::OpenFileForRead(f.path);
    }
    if (!file.valid()) {
      failed[&f] = true;
      AppendDiagLog(L"FEHLER: Konnte Zieldatei nicht öffnen (Stichprobe). Datei=" + f.path + L", " +
                    FormatWindowsError(platform::LastError()));
      return false;
    }
    const size_t alignment = mode.pastCache && mode.alignment > 64 ? mode.alignment : 64;
    buffer = AllocateBlockBuffer(kSampleBytes, alignment);
    bounce = AllocateBlockBuffer(RequestSize(kSampleBytes) + 2 * alignment, alignment);
    if (!buffer || !bounce) {
      failed[&f] = true;
      AppendDiagLog(L"FEHLER: Kein Speicher für den Lesepuffer (Stichprobe). Datei=" + f.path + L", " +
                    FormatWindowsError(platform::kErrorNotEnoughMemory));
      Close();
      return false;
    }
    open = &f;
    return true;
  }

  // Reads and classes one block; false when its file could not be read at all.
  bool Sample(uint64_t index) {
    const DiagnosisFile* f = FileOfIndex(c, index);
    if (f == nullptr || !Open(*f)) return false;
    const uint32_t length = std::min<uint32_t>(kSampleBytes, c.blockSize);
    const uint64_t offset = f->fileOffset + (index - f->patternBase) * c.blockSize;
    const bool read = mode.pastCache
                          ? ReadBlockAtAligned(file, offset, buffer.get(), length, length,
                                               std::max<uint32_t>(mode.alignment, 1), bounce.get())
                          : ReadBlockAt(file, offset, buffer.get(), length, length);
    // Nothing read once the drive has gone says anything about the medium.
    if (!read && TargetGoneAfterFailure(state, platform::LastError())) return false;
    BlockVerdict verdict;
    if (!read) {
      verdict.kind = BlockClass::kUnreadable;
    } else if (!MatchesPattern(buffer.get(), length, c.seed, index)) {
      verdict = ClassifyMismatch(buffer.get(), length, c.seed, index, c.totalBlocks, c.blockSize);
    }
    NoteCheckedBlock(c, index, verdict, true);
    return true;
  }
};

}  // namespace

std::vector<uint64_t> SampleRanks(uint64_t count, uint64_t take) {
  std::vector<uint64_t> ranks;
  take = std::min(take, count);
  for (uint64_t i = 0; i < take; ++i) ranks.push_back(((2 * i + 1) * count) / (2 * take));
  return ranks;
}

bool SampleUncheckedBlocks(DiagnosisCollector& c, const TestConfig& config, const std::vector<TestVariant>& fullPlan,
                           TestState& state) {
  uint64_t checked = 0;
  for (size_t w = 0; w < c.checkedWords; ++w) checked += __builtin_popcountll(c.checked[w].load());
  const uint64_t unchecked = c.totalBlocks - checked;
  if (unchecked == 0 || c.blockSize == 0) return true;
  const std::vector<uint64_t> picks = UncheckedAtRanks(c, SampleRanks(unchecked, kSampleBlocks));
  AppendDiagLog(L"Diagnose: Stichprobe aus " + std::to_wstring(picks.size()) + L" von " + std::to_wstring(unchecked) +
                L" ungeprüften Blöcken, je die ersten " + std::to_wstring(std::min(kSampleBytes, c.blockSize) / 1024) +
                L" KB vom Medium.");

  const uint32_t stopsBefore = state.stopRequests.load();
  const int64_t frequency = platform::QueryCounterFrequency();
  const int64_t deadline = platform::QueryCounter() + frequency * kSampleSeconds;
  // The target must still be the folder the run began on: reading elsewhere would diagnose another
  // medium.
  int64_t nextTargetCheck = 0;
  auto mayGoOn = [&] {
    return TargetStillInPlaceSoon(state, &nextTargetCheck) && state.stopRequests.load() == stopsBefore &&
           platform::QueryCounter() < deadline;
  };

  SampleReader reader(c, state, config, fullPlan);
  uint64_t read = 0;
  bool ended = false;
  for (uint64_t index : picks) {
    if (!mayGoOn()) {
      ended = true;
      break;
    }
    read += reader.Sample(index);
  }
  // Where the good part ends (or, on a medium that wraps, the part it kept begins): halve the
  // unchecked stretch between the last good and bad neighbours until they touch.
  for (uint32_t n = 0; n < kBoundaryReads && !ended; ++n) {
    std::vector<uint64_t> bad;
    for (const BlockFinding& f : FindingsOf(c)) bad.push_back(f.index);
    std::sort(bad.begin(), bad.end());
    uint64_t from = 0, to = 0;
    if (!LastOpenTransition(c, bad, &from, &to)) break;
    if (!mayGoOn()) {
      ended = true;
      break;
    }
    if (!reader.Sample(from + (to - from) / 2)) break;
    ++read;
  }
  AppendDiagLog(L"Diagnose: Stichprobe " + std::wstring(ended ? L"vorzeitig beendet" : L"beendet") + L", " +
                std::to_wstring(read) + L" Blöcke gelesen.");
  return !ended;
}

}  // namespace velkor
