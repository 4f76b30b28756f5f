#include "engine/diagnosis_analysis.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>

#include "engine/diagnosis_device.h"

namespace velkor {
namespace {

constexpr BlockClass kBadClasses[] = {BlockClass::kOverwritten, BlockClass::kEmpty, BlockClass::kDamaged,
                                      BlockClass::kUnreadable};

size_t Slot(BlockClass kind) { return static_cast<size_t>(kind); }

// Checked blocks from begin to end (excluded).
uint64_t CountChecked(const DiagnosisCollector& c, uint64_t begin, uint64_t end) {
  uint64_t count = 0;
  while (begin < end) {
    const uint64_t word = c.checked[begin / 64].load(std::memory_order_relaxed);
    const uint64_t bit = begin % 64;
    const uint64_t take = std::min<uint64_t>(64 - bit, end - begin);
    const uint64_t mask = (take == 64 ? ~uint64_t{0} : ((uint64_t{1} << take) - 1)) << bit;
    count += static_cast<uint64_t>(std::popcount(word & mask));
    begin += take;
  }
  return count;
}

// The bad class with the most blocks among counts; the earlier in kBadClasses on a tie.
BlockClass MostFrequent(const uint64_t (&counts)[kBlockClassCount]) {
  BlockClass best = BlockClass::kDamaged;
  uint64_t most = 0;
  for (BlockClass kind : kBadClasses) {
    if (counts[Slot(kind)] > most) {
      most = counts[Slot(kind)];
      best = kind;
    }
  }
  return best;
}

template <typename T>
T Median(std::vector<T> values) {
  std::nth_element(values.begin(), values.begin() + static_cast<ptrdiff_t>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// The map: every cell shows its most frequent bad class if it has a bad block, else OK if a block
// in it was checked, else "not checked". A single bad block stays visible that way.
std::vector<BlockClass> BuildCells(const DiagnosisCollector& c, const std::vector<BlockFinding>& bad) {
  const uint64_t total = c.totalBlocks;
  const uint64_t n = std::min<uint64_t>(kMaxMapCells, total);
  std::vector<BlockClass> cells;
  if (n == 0) return cells;
  std::vector<std::array<uint64_t, kBlockClassCount>> perCell(n);
  for (const BlockFinding& f : bad) ++perCell[f.index * n / total][Slot(f.verdict.kind)];
  for (uint64_t i = 0; i < n; ++i) {
    uint64_t counts[kBlockClassCount] = {};
    uint64_t badCount = 0;
    for (size_t k = 0; k < kBlockClassCount; ++k) counts[k] = perCell[i][k];
    for (BlockClass kind : kBadClasses) badCount += counts[Slot(kind)];
    const uint64_t begin = (i * total + n - 1) / n, end = ((i + 1) * total + n - 1) / n;
    if (badCount > 0) {
      cells.push_back(MostFrequent(counts));
    } else {
      cells.push_back(CountChecked(c, begin, end) > 0 ? BlockClass::kOk : BlockClass::kUnchecked);
    }
  }
  return cells;
}

// Calls visit(index, good) for every checked block in order.
template <typename Visit>
void ForEachChecked(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices, Visit visit) {
  size_t nextBad = 0;
  for (size_t w = 0; w < c.checkedWords; ++w) {
    for (uint64_t word = c.checked[w].load(std::memory_order_relaxed); word != 0; word &= word - 1) {
      const uint64_t index = w * 64 + static_cast<uint64_t>(std::countr_zero(word));
      while (nextBad < badIndices.size() && badIndices[nextBad] < index) ++nextBad;
      visit(index, !(nextBad < badIndices.size() && badIndices[nextBad] == index));
    }
  }
}

DiagnosisFinding FindingOfBadEnd(BlockClass kind) {
  switch (kind) {
    case BlockClass::kEmpty: return DiagnosisFinding::kEmptyFrom;
    case BlockClass::kUnreadable: return DiagnosisFinding::kUnreadableFrom;
    default: return DiagnosisFinding::kDamagedFrom;
  }
}

}  // namespace

uint64_t EstimatePeriod(std::vector<uint64_t> distances, uint32_t blockSize) {
  distances.erase(std::remove(distances.begin(), distances.end(), 0), distances.end());
  if (distances.empty() || blockSize == 0) return 0;
  std::sort(distances.begin(), distances.end());
  // The smallest distances are about one period, or a few when none is that short: the median of
  // those up to half again the least, then its largest part that nine in ten distances are
  // multiples of (give or take a tenth of it).
  const uint64_t least = distances.front();
  std::vector<uint64_t> first;
  for (uint64_t d : distances) {
    if (d > least + least / 2) break;
    first.push_back(d);
  }
  double rough = static_cast<double>(Median(first));
  for (int parts = 1; parts <= 8; ++parts) {
    const double candidate = static_cast<double>(Median(first)) / parts;
    size_t fitting = 0;
    for (uint64_t d : distances) {
      const double multiple = std::round(static_cast<double>(d) / candidate);
      fitting += std::abs(static_cast<double>(d) - multiple * candidate) <= candidate / 10;
    }
    if (fitting * 10 >= distances.size() * 9) {
      rough = candidate;
      break;
    }
  }
  std::vector<double> periods;
  for (uint64_t d : distances) {
    const double multiple = std::max(1.0, std::round(static_cast<double>(d) / rough));
    periods.push_back(static_cast<double>(d) / multiple);
  }
  const double blocks = std::round(Median(periods) / blockSize);
  return static_cast<uint64_t>(std::max(1.0, blocks)) * blockSize;
}

int64_t BadEndStart(const std::vector<uint64_t>& badIndices, int64_t lastGood) {
  if (lastGood < 0) return badIndices.empty() ? -1 : static_cast<int64_t>(badIndices.front());
  const auto after = std::upper_bound(badIndices.begin(), badIndices.end(), static_cast<uint64_t>(lastGood));
  return after == badIndices.end() ? -1 : static_cast<int64_t>(*after);
}

uint64_t EstimateGoodBlocks(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices) {
  uint64_t halves = 0;  // in half blocks
  int64_t previous = -1;
  bool previousGood = false;
  ForEachChecked(c, badIndices, [&](uint64_t index, bool good) {
    const uint64_t gap = index - static_cast<uint64_t>(previous + 1);
    halves += gap * (previous < 0 ? 2 * good : previousGood + good) + 2 * good;
    previous = static_cast<int64_t>(index);
    previousGood = good;
  });
  if (previous >= 0) halves += (c.totalBlocks - static_cast<uint64_t>(previous) - 1) * 2 * previousGood;
  return (halves + 1) / 2;
}

bool LastOpenTransition(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices, uint64_t* from,
                        uint64_t* to) {
  bool found = false;
  int64_t previous = -1;
  bool previousGood = false;
  ForEachChecked(c, badIndices, [&](uint64_t index, bool good) {
    if (previous >= 0 && good != previousGood && index - static_cast<uint64_t>(previous) > 1) {
      *from = static_cast<uint64_t>(previous);
      *to = index;
      found = true;
    }
    previous = static_cast<int64_t>(index);
    previousGood = good;
  });
  return found;
}

int64_t LastGoodBlock(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices) {
  for (size_t w = c.checkedWords; w-- > 0;) {
    uint64_t word = c.checked[w].load(std::memory_order_relaxed);
    while (word != 0) {
      const int bit = 63 - std::countl_zero(word);
      const uint64_t index = w * 64 + static_cast<uint64_t>(bit);
      if (!std::binary_search(badIndices.begin(), badIndices.end(), index)) return static_cast<int64_t>(index);
      word &= ~(uint64_t{1} << bit);
    }
  }
  return -1;
}

Diagnosis AnalyzeDiagnosis(DiagnosisCollector& c, bool restSampled) {
  return HasDeviceMap(c) ? AnalyzeInDeviceOrder(c, restSampled) : AnalyzeBlocks(c, restSampled, nullptr);
}

bool FewIsolatedBadBlocks(const std::vector<uint64_t>& badIndices, uint64_t checked) {
  if (badIndices.size() > std::max<uint64_t>(kFewBadBlocks, checked / 100)) return false;
  size_t run = 1;
  for (size_t i = 1; i < badIndices.size(); ++i) {
    run = badIndices[i] == badIndices[i - 1] + 1 ? run + 1 : 1;
    if (run > 2) return false;
  }
  return true;
}

Diagnosis AnalyzeBlocks(DiagnosisCollector& c, bool restSampled, const std::vector<uint64_t>* offsets) {
  Diagnosis d;
  d.blockSize = c.blockSize;
  d.testBytes = c.totalBlocks * c.blockSize;
  d.deviceOrder = offsets != nullptr;
  // One finding per block, in block order (a block is classed once; be safe anyway).
  std::map<uint64_t, BlockFinding> byIndex;
  for (const BlockFinding& f : FindingsOf(c)) byIndex.emplace(f.index, f);
  std::vector<BlockFinding> bad;
  std::vector<uint64_t> badIndices;
  for (const auto& [index, f] : byIndex) {
    bad.push_back(f);
    badIndices.push_back(index);
    ++d.counts[Slot(f.verdict.kind)];
  }
  d.checked = CountChecked(c, 0, c.totalBlocks);
  d.sampled = c.sampled.load();
  d.counts[Slot(BlockClass::kOk)] = d.checked >= bad.size() ? d.checked - bad.size() : 0;
  d.present = !bad.empty();
  if (!d.present) return d;
  d.cells = BuildCells(c, bad);
  // A run stopped before it read the test back: what the rest holds is not known.
  if (!restSampled && d.checked < c.totalBlocks) {
    d.partial = true;
    return d;
  }
  // Where the blocks lie is known: a block's place is its offset on the medium.
  auto placeOf = [&](uint64_t index) { return offsets ? (*offsets)[index] : index * c.blockSize; };
  // The mark before the first block of the unusable part.
  auto markBefore = [&](uint64_t index) {
    const uint64_t n = d.cells.size();
    return static_cast<size_t>((index * n + c.totalBlocks - 1) / c.totalBlocks);
  };
  // Without a map the capacity is what came back intact, wherever it lies.
  const uint64_t intactBytes = EstimateGoodBlocks(c, badIndices) * c.blockSize;

  // A medium whose bad blocks mostly hold other blocks' data repeats itself. What it keeps of the
  // test is one period. On the medium the distances between a block and the place its data came
  // from are exact multiples of the period; in the files' order a file system that allocates in
  // the order writes reach it blurs them by a few blocks each, and the count of intact blocks is
  // exact instead.
  if (CountOf(d, BlockClass::kOverwritten) * 2 >= bad.size()) {
    std::vector<uint64_t> distances;
    for (const BlockFinding& f : bad) {
      if (f.verdict.kind != BlockClass::kOverwritten || f.verdict.sourceIndex >= c.totalBlocks) continue;
      const uint64_t here = placeOf(f.index);
      const uint64_t source = placeOf(f.verdict.sourceIndex) + f.verdict.sourceOffset;
      distances.push_back(source > here ? source - here : here - source);
    }
    uint64_t period = offsets ? EstimatePeriod(distances, c.blockSize) : intactBytes;
    if (period == 0 && !offsets) period = EstimatePeriod(distances, c.blockSize);
    if (!offsets) period = std::min(period, d.testBytes);
    if (period != 0) {
      d.finding = DiagnosisFinding::kWraps;
      d.periodBytes = d.findingBytes = d.usableBytes = period;
      if (offsets) {
        // The map shows the places: below the period the medium holds what it is given (a block
        // there came back with a later block's data, intact); from it on it only pretends to,
        // each place a mirror of one below. Blocks that came back empty, damaged or unreadable
        // stay what they are.
        std::vector<BlockFinding> drawn;
        uint64_t first = c.totalBlocks;
        for (uint64_t i = 0; i < c.totalBlocks; ++i) {
          const auto it = byIndex.find(i);
          const bool real = placeOf(i) < period;
          if (!real && first == c.totalBlocks) first = i;
          if (it != byIndex.end() && (it->second.verdict.kind != BlockClass::kOverwritten || !real)) {
            drawn.push_back(it->second);
          } else if (!real && IsBlockChecked(c, i)) {
            BlockFinding mirror;
            mirror.index = i;
            mirror.verdict.kind = BlockClass::kOverwritten;
            drawn.push_back(mirror);
          }
        }
        d.cells = BuildCells(c, drawn);
        d.markCell = markBefore(first);
      }
      return d;
    }
  }
  const int64_t lastGood = LastGoodBlock(c, badIndices);
  const int64_t start = BadEndStart(badIndices, lastGood);
  if (start >= 0) {
    uint64_t endCounts[kBlockClassCount] = {};
    for (const BlockFinding& f : bad) {
      if (f.index >= static_cast<uint64_t>(start)) ++endCounts[Slot(f.verdict.kind)];
    }
    d.finding = FindingOfBadEnd(MostFrequent(endCounts));
    d.findingBytes = placeOf(static_cast<uint64_t>(start));
    // On the medium: up to the end of the last block that came back intact.
    d.usableBytes = !offsets ? intactBytes : lastGood < 0 ? 0 : placeOf(static_cast<uint64_t>(lastGood)) + c.blockSize;
    if (offsets) d.markCell = markBefore(static_cast<uint64_t>(start));
    return d;
  }
  // Good blocks after the last bad one: the capacity is there only where few blocks failed, each
  // on its own.
  d.finding = FewIsolatedBadBlocks(badIndices, d.checked) ? DiagnosisFinding::kSingleBlocks : DiagnosisFinding::kScattered;
  d.usableBytes = intactBytes;
  return d;
}

SpeedCurve BuildSpeedCurve(const DiagnosisCollector& c, int64_t ticksPerSecond) {
  auto side = [&](const std::atomic<int64_t>* marks) {
    std::vector<double> speeds;
    if (marks[0].load() == 0 || ticksPerSecond <= 0 || c.totalBlocks == 0) return speeds;
    // Marks set by racing workers may come a tick out of order: time only goes forward.
    int64_t time[kSpeedMarks];
    time[0] = marks[0].load();
    for (size_t k = 1; k < kSpeedMarks; ++k) {
      const int64_t t = marks[k].load();
      time[k] = t == 0 ? 0 : std::max(t, time[k - 1]);
    }
    bool any = false;
    speeds.assign(kSpeedCurvePoints, 0.0);
    const double bytesPerPoint = static_cast<double>(c.totalBlocks) * c.blockSize / kSpeedCurvePoints;
    for (size_t k = 1; k < kSpeedMarks; ++k) {
      if (time[k] == 0) continue;
      // Points passed in the same tick (blocks larger than 1 % of the test) share one speed.
      size_t from = k - 1, to = k;
      while (from > 0 && time[from] == time[k]) --from;
      while (to + 1 < kSpeedMarks && time[to + 1] == time[k]) ++to;
      if (time[from] == 0 || time[k] <= time[from]) continue;
      const double seconds = static_cast<double>(time[k] - time[from]) / static_cast<double>(ticksPerSecond);
      speeds[k - 1] = bytesPerPoint * static_cast<double>(to - from) / 1048576.0 / seconds;
      any = true;
    }
    if (!any) speeds.clear();
    return speeds;
  };
  SpeedCurve curve;
  curve.write = side(c.writeMarks);
  curve.read = side(c.readMarks);
  return curve;
}

}  // namespace velkor
