#include "engine/diagnosis_analysis.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/diagnosis_sample.h"

namespace velkor {
namespace {

constexpr uint32_t kBlock = 1048576;

// A collector for one file of `blocks` blocks of 1 MiB.
std::shared_ptr<DiagnosisCollector> Collector(uint64_t blocks) {
  TestVariant v;
  v.blockSize = kBlock;
  v.byteCount = blocks * kBlock;
  v.filePath = L"velkor.bin";
  return NewDiagnosisCollector(TestConfig{}, {v});
}

BlockVerdict Verdict(BlockClass kind, uint64_t source = 0) {
  BlockVerdict v;
  v.kind = kind;
  v.sourceIndex = source;
  return v;
}

void Note(DiagnosisCollector& c, uint64_t index, BlockClass kind, bool sampled = false, uint64_t source = 0) {
  NoteCheckedBlock(c, index, Verdict(kind, source), sampled);
}

// A medium that keeps `real` blocks and wraps every later write onto them: each block reads back
// the last block written over it. jitter shifts where each write lands, as a file system that
// allocates in the order writes arrive does. Blocks from `checkedTo` on are only sampled, every
// `step`-th.
void Wrap(DiagnosisCollector& c, uint64_t total, uint64_t real, int jitter, uint64_t checkedTo, uint64_t step) {
  std::mt19937 generator(11);
  std::uniform_int_distribution<int> shift(-jitter, jitter);
  for (uint64_t i = 0; i < total; ++i) {
    if (i >= checkedTo && (i - checkedTo) % step != 0) continue;
    const uint64_t last = i + (total - 1 - i) / real * real;  // the last lap's block over it
    if (last == i) {
      Note(c, i, BlockClass::kOk, i >= checkedTo);
    } else {
      const int64_t source = static_cast<int64_t>(last) + (jitter > 0 ? shift(generator) : 0);
      Note(c, i, BlockClass::kOverwritten, i >= checkedTo, static_cast<uint64_t>(std::max<int64_t>(0, source)));
    }
  }
}

TEST(DiagnosisAnalysis, AHealthyTestHasNoDiagnosis) {
  auto c = Collector(100);
  for (uint64_t i = 0; i < 100; ++i) Note(*c, i, BlockClass::kOk);
  const Diagnosis d = AnalyzeDiagnosis(*c, true);
  EXPECT_FALSE(d.present);
  EXPECT_EQ(CountOf(d, BlockClass::kOk), 100u);
}

TEST(DiagnosisAnalysis, AMediumThatWrapsKeepsOnePeriod) {
  const struct {
    const char* what;
    int jitter;
    uint64_t checkedTo, step;
  } cases[] = {
      {"written in order, all read back", 0, 992, 1},
      {"allocated out of order, all read back", 25, 992, 1},
      {"written in order, sampled after block 500", 0, 500, 1},
      {"sampled sparsely after block 100", 0, 100, 7},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    auto c = Collector(992);
    Wrap(*c, 992, 256, k.jitter, k.checkedTo, k.step);
    // The boundary of what it kept, as the sample's halving finds it.
    for (uint64_t i = 992 - 256 - 8; i < 992 - 256 + 8; ++i) {
      if (!IsBlockChecked(*c, i)) Note(*c, i, i >= 992 - 256 ? BlockClass::kOk : BlockClass::kOverwritten, true, i + 256);
    }
    const Diagnosis d = AnalyzeDiagnosis(*c, true);
    ASSERT_TRUE(d.present);
    EXPECT_EQ(d.finding, DiagnosisFinding::kWraps);
    EXPECT_EQ(d.usableBytes, 256u * kBlock);
    EXPECT_EQ(d.periodBytes, 256u * kBlock);
    EXPECT_EQ(DiagnosisFindingText(d), L"Das Medium wiederholt sich nach 256.0 MB: spätere Daten überschreiben frühere.");
  }
}

// Where the data ends (empty or unreadable from a point on), the capacity ends: known to the block
// once the sample's halving has closed the gap around that point.
TEST(DiagnosisAnalysis, ABadEndCutsTheCapacityAtItsFirstBlock) {
  for (const BlockClass kind : {BlockClass::kEmpty, BlockClass::kUnreadable, BlockClass::kDamaged}) {
    SCOPED_TRACE(BlockClassName(kind));
    auto c = Collector(1024);
    for (uint64_t i = 0; i < 300; ++i) Note(*c, i, BlockClass::kOk);
    for (uint64_t i = 300; i < 800; ++i) Note(*c, i, kind);
    for (uint64_t i = 800; i < 1024; i += 9) Note(*c, i, kind, true);
    const Diagnosis d = AnalyzeDiagnosis(*c, true);
    EXPECT_EQ(d.usableBytes, 300u * kBlock);
    EXPECT_EQ(d.findingBytes, 300u * kBlock);
    EXPECT_EQ(d.finding, kind == BlockClass::kEmpty        ? DiagnosisFinding::kEmptyFrom
                         : kind == BlockClass::kUnreadable ? DiagnosisFinding::kUnreadableFrom
                                                           : DiagnosisFinding::kDamagedFrom);
    EXPECT_EQ(d.checked, 300u + 500u + 25u);
    EXPECT_EQ(d.sampled, 25u);
    EXPECT_EQ(CountOf(d, kind), 525u);
  }
}

// Stopped before the test was read back, and nothing sampled: no finding and no capacity.
TEST(DiagnosisAnalysis, ARunStoppedBeforeTheEndTellsOnlyWhatItRead) {
  auto c = Collector(1000);
  for (uint64_t i = 0; i < 100; ++i) Note(*c, i, BlockClass::kOverwritten, false, i + 750);
  const Diagnosis d = AnalyzeDiagnosis(*c, false);
  ASSERT_TRUE(d.present);
  EXPECT_TRUE(d.partial);
  EXPECT_EQ(d.finding, DiagnosisFinding::kNone);
  EXPECT_EQ(UsableCapacityText(d), L"unbekannt");
  EXPECT_NE(DiagnosisReportBlock(d).find(L"\r\n  Nutzbare Kapazität (geschätzt): unbekannt\r\n"), std::wstring::npos);
  EXPECT_EQ(CountOf(d, BlockClass::kOverwritten), 100u);
  EXPECT_EQ(d.cells.back(), BlockClass::kUnchecked);
  // Read to the end, it is a diagnosis like any other.
  for (uint64_t i = 100; i < 1000; ++i) Note(*c, i, i < 750 ? BlockClass::kOverwritten : BlockClass::kOk, false, i + 250);
  EXPECT_FALSE(AnalyzeDiagnosis(*c, false).partial);
}

TEST(DiagnosisAnalysis, SingleBadBlocksLeaveTheCapacityWithAWarning) {
  auto c = Collector(1024);
  for (uint64_t i = 0; i < 1024; ++i) Note(*c, i, i == 400 || i == 401 || i == 650 ? BlockClass::kDamaged : BlockClass::kOk);
  const Diagnosis d = AnalyzeDiagnosis(*c, true);
  ASSERT_TRUE(d.present);
  EXPECT_EQ(d.finding, DiagnosisFinding::kSingleBlocks);
  EXPECT_EQ(d.usableBytes, 1021u * kBlock);  // the intact blocks
  EXPECT_EQ(DiagnosisFindingText(d), L"Einzelne Blöcke sind beschädigt.");
  EXPECT_FALSE(DiagnosisWarningText(d).empty());
  // Each bad block shows in its cell, however few.
  ASSERT_EQ(d.cells.size(), 1024u);
  EXPECT_EQ(d.cells[400], BlockClass::kDamaged);
  EXPECT_EQ(d.cells[399], BlockClass::kOk);
}

// A fake that holds 256 MiB, and a file system that put the test file's first half past that
// (at 264 MiB) and its second half low (at 8 MiB): the file's order says nothing about the
// medium, the blocks' places say all.
TEST(DiagnosisAnalysis, WhereTheBlocksLieDecidesTheFindingAndTheCapacity) {
  constexpr uint64_t kBlocks = 400, kHalf = 200, kReal = 256;
  auto place = [](uint64_t i) { return (i < kHalf ? 264 + i : 8 + (i - kHalf)) * kBlock; };
  struct Case {
    const char* what;
    bool wraps;      // else the medium loses what lies past its real size
    bool mapped;
    DiagnosisFinding finding;
    uint64_t usable, findingBytes;
    size_t markCell;
  };
  const Case cases[] = {
      {"loses, on the medium", false, true, DiagnosisFinding::kEmptyFrom, 208 * kBlock, 264 * kBlock, kHalf},
      {"loses, in the file's order", false, false, DiagnosisFinding::kScattered, kHalf * kBlock, 0, 0},
      {"wraps, on the medium", true, true, DiagnosisFinding::kWraps, kReal * kBlock, kReal * kBlock, kHalf},
      {"wraps, in the file's order", true, false, DiagnosisFinding::kWraps, kHalf * kBlock, kHalf * kBlock, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto c = Collector(kBlocks);
    for (uint64_t i = 0; i < kBlocks; ++i) {
      const bool lost = place(i) >= kReal * kBlock;
      // Written in file order, the second half lands over where the first half's writes went.
      Note(*c, i, !lost ? BlockClass::kOk : k.wraps ? BlockClass::kOverwritten : BlockClass::kEmpty, false, i + kHalf);
    }
    if (k.mapped) {
      for (uint64_t i = 0; i < kBlocks; ++i) c->deviceOffsets.push_back(place(i));
    }
    const Diagnosis d = AnalyzeDiagnosis(*c, true);
    ASSERT_TRUE(d.present);
    EXPECT_EQ(d.deviceOrder, k.mapped);
    EXPECT_EQ(d.finding, k.finding);
    EXPECT_EQ(d.usableBytes, k.usable);
    if (k.finding != DiagnosisFinding::kScattered) {
      EXPECT_EQ(d.findingBytes, k.findingBytes);
    }
    EXPECT_EQ(d.markCell, k.markCell);
    ASSERT_EQ(d.cells.size(), kBlocks);
    // On the medium the real part comes first, then what the medium only pretends to hold.
    if (k.mapped) {
      const BlockClass pretended = k.wraps ? BlockClass::kOverwritten : BlockClass::kEmpty;
      for (uint64_t r = 0; r < kBlocks; ++r) ASSERT_EQ(d.cells[r], r < kHalf ? BlockClass::kOk : pretended) << r;
    }
    EXPECT_EQ(DiagnosisWarningText(d).empty(), true);
  }
}

TEST(DiagnosisAnalysis, OnlyFewIsolatedBadBlocksAreSingleBlocks) {
  EXPECT_TRUE(FewIsolatedBadBlocks({5, 6, 70}, 1000));
  EXPECT_FALSE(FewIsolatedBadBlocks({5, 6, 7}, 1000));      // a run of three
  EXPECT_TRUE(FewIsolatedBadBlocks({5, 50, 90}, 200));      // a few, however small the test
  EXPECT_FALSE(FewIsolatedBadBlocks({1, 3, 5, 7, 9, 11, 13, 15, 17}, 200));  // more than a few
  EXPECT_TRUE(FewIsolatedBadBlocks({1, 3, 5, 7, 9, 11, 13, 15, 17}, 900));   // one in a hundred
  EXPECT_TRUE(FewIsolatedBadBlocks({}, 0));
}

TEST(DiagnosisAnalysis, TheMapHasAtMost1024CellsAndShowsWhatWasNotRead) {
  auto c = Collector(5000);
  for (uint64_t i = 0; i < 100; ++i) Note(*c, i, BlockClass::kOk);
  Note(*c, 100, BlockClass::kEmpty);
  const Diagnosis d = AnalyzeDiagnosis(*c, true);
  ASSERT_EQ(d.cells.size(), kMaxMapCells);
  EXPECT_EQ(d.cells[0], BlockClass::kOk);
  EXPECT_EQ(d.cells[100 * 1024 / 5000], BlockClass::kEmpty);
  EXPECT_EQ(d.cells[1023], BlockClass::kUnchecked);
}

TEST(DiagnosisAnalysis, UncheckedBlocksCountAsTheirNeighbours) {
  auto c = Collector(100);
  Note(*c, 10, BlockClass::kOk);     // 0-9 take its state: 11 good
  Note(*c, 20, BlockClass::kOk);     // 11-19 between two good: 10 good
  Note(*c, 30, BlockClass::kEmpty);  // 21-29 between good and bad: 4.5
  Note(*c, 40, BlockClass::kEmpty);  // 31-39 bad; 41-99 bad
  std::vector<uint64_t> bad = {30, 40};
  EXPECT_EQ(EstimateGoodBlocks(*c, bad), 26u);  // 11 + 10 + 4.5, rounded up
  uint64_t from = 0, to = 0;
  ASSERT_TRUE(LastOpenTransition(*c, bad, &from, &to));
  EXPECT_EQ(from, 20u);
  EXPECT_EQ(to, 30u);
  Note(*c, 21, BlockClass::kEmpty);
  bad = {21, 30, 40};
  EXPECT_FALSE(LastOpenTransition(*c, bad, &from, &to));
}

TEST(DiagnosisAnalysis, ThePeriodOfTheDistancesIsTheirCommonMultiple) {
  EXPECT_EQ(EstimatePeriod({768u * kBlock, 512u * kBlock, 256u * kBlock, 512u * kBlock}, kBlock), 256u * kBlock);
  // Blurred by a few blocks either way, and without the smallest multiple.
  EXPECT_EQ(EstimatePeriod({510u * kBlock, 514u * kBlock, 770u * kBlock, 766u * kBlock, 512u * kBlock}, kBlock),
            256u * kBlock);
  EXPECT_EQ(EstimatePeriod({}, kBlock), 0u);
}

TEST(DiagnosisSample, RanksAreEvenlySpreadAndDistinct) {
  EXPECT_EQ(SampleRanks(10, 4096), (std::vector<uint64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(SampleRanks(100, 4), (std::vector<uint64_t>{12, 37, 62, 87}));
  const std::vector<uint64_t> many = SampleRanks(1000000, kSampleBlocks);
  ASSERT_EQ(many.size(), kSampleBlocks);
  EXPECT_TRUE(std::is_sorted(many.begin(), many.end()));
  EXPECT_LT(many.back(), 1000000u);
}

TEST(SpeedCurve, OnePointPerPercentFromTheMarks) {
  auto c = Collector(200);  // two blocks per point
  c->writeMarks[0] = 1000;
  for (size_t k = 1; k <= 100; ++k) c->writeMarks[k] = 1000 + static_cast<int64_t>(k) * (k <= 50 ? 10 : 20);
  // Reading stopped after 30 %.
  c->readMarks[0] = 5000;
  for (size_t k = 1; k <= 30; ++k) c->readMarks[k] = 5000 + static_cast<int64_t>(k) * 5;
  const SpeedCurve curve = BuildSpeedCurve(*c, 1000);  // 1000 ticks a second
  ASSERT_EQ(curve.write.size(), kSpeedCurvePoints);
  EXPECT_DOUBLE_EQ(curve.write[0], 200.0);  // 2 MiB in 10 ms
  EXPECT_DOUBLE_EQ(curve.write[99], 100.0);
  ASSERT_EQ(curve.read.size(), kSpeedCurvePoints);
  EXPECT_DOUBLE_EQ(curve.read[29], 400.0);
  EXPECT_EQ(curve.read[30], 0.0);
}

TEST(SpeedCurve, BlocksLargerThanAPointShareTheirSpeedAndNothingStartedGivesNone) {
  auto c = Collector(10);  // ten points per block
  c->writeMarks[0] = 100;
  for (size_t k = 1; k <= 100; ++k) c->writeMarks[k] = 100 + static_cast<int64_t>((k + 9) / 10) * 100;
  const SpeedCurve curve = BuildSpeedCurve(*c, 1000);
  ASSERT_EQ(curve.write.size(), kSpeedCurvePoints);
  for (double v : curve.write) EXPECT_DOUBLE_EQ(v, 10.0);  // 1 MiB per 100 ms
  EXPECT_TRUE(curve.read.empty());
}

}  // namespace
}  // namespace velkor
