#include "engine/diagnosis_collector.h"

#include "common/paths.h"
#include "platform/system.h"

namespace velkor {
namespace {

// The pattern indices of a job's blocks run from patternBase; a collector counts only the full
// test's jobs, which it is hung on the state for.
DiagnosisCollector* CollectorOf(const TestState& state) { return state.diagnosis.get(); }

// Marks every k whose k % of total blocks the count reached with this block.
void MarkProgress(std::atomic<int64_t>* marks, uint64_t total, uint64_t count) {
  if (total == 0 || count == 0 || count > total) return;
  const uint64_t first = (count - 1) * kSpeedCurvePoints / total + 1;
  const uint64_t last = count * kSpeedCurvePoints / total;
  if (first > last) return;
  const int64_t now = platform::QueryCounter();
  for (uint64_t k = first; k <= last && k < kSpeedMarks; ++k) {
    int64_t unset = 0;
    marks[k].compare_exchange_strong(unset, now != 0 ? now : 1);
  }
}

void MarkStart(std::atomic<int64_t>* marks) {
  for (size_t k = 0; k < kSpeedMarks; ++k) marks[k] = 0;
  const int64_t now = platform::QueryCounter();
  marks[0] = now != 0 ? now : 1;
}

}  // namespace

std::shared_ptr<DiagnosisCollector> NewDiagnosisCollector(const TestConfig& config,
                                                          const std::vector<TestVariant>& fullPlan) {
  auto c = std::make_shared<DiagnosisCollector>();
  c->seed = config.seed;
  c->blockSize = fullPlan.empty() ? 0 : fullPlan.front().blockSize;
  for (const TestVariant& v : fullPlan) {
    DiagnosisFile file;
    file.path = v.filePath;
    file.patternBase = v.patternBase;
    file.blocks = v.blockSize ? v.byteCount / v.blockSize : 0;
    file.fileOffset = v.fileOffset;
    c->totalBlocks = std::max(c->totalBlocks, file.patternBase + file.blocks);
    c->files.push_back(file);
  }
  c->checkedWords = static_cast<size_t>((c->totalBlocks + 63) / 64);
  c->checked = std::make_unique<std::atomic<uint64_t>[]>(c->checkedWords);
  return c;
}

void MarkWriteStart(DiagnosisCollector& c) { MarkStart(c.writeMarks); }
void MarkReadStart(DiagnosisCollector& c) { MarkStart(c.readMarks); }

const DiagnosisFile* FileOfIndex(const DiagnosisCollector& c, uint64_t index) {
  for (const DiagnosisFile& f : c.files) {
    if (index >= f.patternBase && index - f.patternBase < f.blocks) return &f;
  }
  return nullptr;
}

bool IsBlockChecked(const DiagnosisCollector& c, uint64_t index) {
  if (index >= c.totalBlocks) return false;
  return (c.checked[index / 64].load(std::memory_order_relaxed) >> (index % 64)) & 1;
}

void NoteCheckedBlock(DiagnosisCollector& c, uint64_t index, const BlockVerdict& verdict, bool sampled) {
  if (index >= c.totalBlocks) return;
  c.checked[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_relaxed);
  if (sampled) c.sampled.fetch_add(1);
  if (verdict.kind == BlockClass::kOk) return;
  std::lock_guard<std::mutex> lock(c.mutex);
  c.findings.push_back({index, verdict, sampled});
}

std::vector<BlockFinding> FindingsOf(DiagnosisCollector& c) {
  std::lock_guard<std::mutex> lock(c.mutex);
  return c.findings;
}

void CountWrittenBlock(const TestConfig& job, TestState& state) {
  const uint64_t count = state.blocksWritten.fetch_add(1) + 1;
  if (DiagnosisCollector* c = CollectorOf(state)) MarkProgress(c->writeMarks, c->totalBlocks, job.patternBase + count);
}

void CountVerifiedBlock(const TestConfig& job, TestState& state, uint64_t blockIndex) {
  const uint64_t count = state.blocksVerified.fetch_add(1) + 1;
  DiagnosisCollector* c = CollectorOf(state);
  if (c == nullptr) return;
  const uint64_t index = job.patternBase + blockIndex;
  if (index < c->totalBlocks) c->checked[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_relaxed);
  MarkProgress(c->readMarks, c->totalBlocks, job.patternBase + count);
}

BlockVerdict ClassifyFailedBlock(const TestConfig& job, TestState& state, const uint8_t* data, uint64_t blockIndex) {
  DiagnosisCollector* c = CollectorOf(state);
  const uint64_t index = job.patternBase + blockIndex;
  const uint64_t patternCount = c != nullptr ? c->totalBlocks : job.patternBase + state.totalBlocks.load();
  const BlockVerdict verdict = ClassifyMismatch(data, job.blockSize, job.seed, index, patternCount, job.blockSize);
  if (c != nullptr) NoteCheckedBlock(*c, index, verdict, false);
  return verdict;
}

void NoteUnreadableBlock(const TestConfig& job, TestState& state, uint64_t blockIndex) {
  if (DiagnosisCollector* c = CollectorOf(state)) {
    BlockVerdict verdict;
    verdict.kind = BlockClass::kUnreadable;
    NoteCheckedBlock(*c, job.patternBase + blockIndex, verdict, false);
  }
}

std::wstring VerdictLogText(const TestConfig& job, const TestState& state, const BlockVerdict& verdict) {
  switch (verdict.kind) {
    case BlockClass::kEmpty: return L", Art: leer";
    case BlockClass::kDamaged:
      return L", Art: beschädigt (" + std::to_wstring(verdict.differingBytes) +
             (verdict.differingBytes == 1 ? L" Byte abweichend)" : L" Bytes abweichend)");
    case BlockClass::kOverwritten: {
      uint64_t block = verdict.sourceIndex - job.patternBase;
      std::wstring where;
      if (const DiagnosisCollector* c = CollectorOf(state)) {
        if (const DiagnosisFile* f = FileOfIndex(*c, verdict.sourceIndex)) {
          block = verdict.sourceIndex - f->patternBase;
          if (f->path != job.filePath) where = L" aus " + FileNameOfPath(f->path);
        }
      }
      std::wstring text = L", Art: überschrieben (Daten von Block " + std::to_wstring(block) + where;
      if (verdict.sourceOffset != 0) text += L" ab Byte " + std::to_wstring(verdict.sourceOffset);
      return text + L")";
    }
    default: return std::wstring(BlockClassName(verdict.kind)).insert(0, L", Art: ");
  }
}

}  // namespace velkor
