#include "engine/method_plan.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/run_files.h"
#include "platform/files.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;

TestConfig DriveE() {
  TestConfig c;
  c.driveRoot = L"E:\\";
  c.filePath = L"E:\\velkor.bin";
  c.workerCount = 4;
  c.blockSize = 1048576;
  c.testSize = 1024 * kMiB;
  c.benchmarkBytes = 0;
  c.testPoints = 3;
  c.randomTestPoints = false;
  return c;
}

uint64_t Sum(const std::vector<TestVariant>& plan) {
  uint64_t total = 0;
  for (const TestVariant& v : plan) total += v.byteCount;
  return total;
}

// Variants that share a test point write consecutive ranges of its file, in plan order.
void ExpectConsecutiveRangesPerPoint(const std::vector<TestVariant>& plan) {
  std::map<uint32_t, uint64_t> next;
  for (size_t k = 0; k < plan.size(); ++k) {
    EXPECT_EQ(plan[k].fileOffset, next[plan[k].index]) << "variant " << k;
    next[plan[k].index] += plan[k].byteCount;
  }
}

TEST(MethodTestPlan, ThirtyTwoVariantsOnEightProcessors) {
  const std::vector<TestVariant> plan = BuildMethodTestPlan(DriveE(), 8);
  ASSERT_EQ(plan.size(), 32u);
  const wchar_t* names[] = {L"Turbo (aggressiv)", L"Ausgeglichen", L"Quorvel-Modus", L"Zuverlässig"};
  const uint32_t chunks[] = {1048576, 262144, 16777216, 65536};
  for (size_t k = 0; k < plan.size(); ++k) {
    SCOPED_TRACE(k);
    const TestVariant& v = plan[k];
    EXPECT_EQ(v.accessType.name, names[k / 8]);
    EXPECT_EQ(v.accessType.ioChunkSize, chunks[k / 8]);
    EXPECT_TRUE(v.accessType.verifyAfterWrite);
    EXPECT_EQ(v.accessType.writeThrough, k / 8 == 3);
    EXPECT_EQ(v.workerCount, (k % 8) / 2 + 1);
    EXPECT_EQ(v.blockSize, k % 2 == 0 ? 1 * kMiB : 8 * kMiB);
    EXPECT_EQ(v.byteCount, 32 * kMiB);
    EXPECT_EQ(v.index, k % 3);
    EXPECT_EQ(v.filePath, L"E:\\velkor_p0" + std::to_wstring(k % 3 + 1) + L".bin");
    EXPECT_EQ(v.fileOffset, (k / 3) * 32 * kMiB);
  }
  size_t atPointZero = 0;
  for (const TestVariant& v : plan) atPointZero += v.index == 0;
  EXPECT_EQ(atPointZero, 11u);
  EXPECT_EQ(Sum(plan), 1024 * kMiB);
}

TEST(MethodTestPlan, FifteenVariantsWhenTheBudgetRunsOut) {
  TestConfig c = DriveE();
  c.workerCount = 2;
  c.testSize = 100 * kMiB;
  c.testPoints = 1;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  const struct {
    const wchar_t* name;
    uint32_t workers;
    uint64_t blockMiB, sizeMiB;
  } expected[] = {
      {L"Turbo (aggressiv)", 1, 1, 6}, {L"Turbo (aggressiv)", 1, 8, 8},
      {L"Turbo (aggressiv)", 2, 1, 6}, {L"Turbo (aggressiv)", 2, 8, 8},
      {L"Ausgeglichen", 1, 1, 6},      {L"Ausgeglichen", 1, 8, 8},
      {L"Ausgeglichen", 2, 1, 6},      {L"Ausgeglichen", 2, 8, 8},
      {L"Quorvel-Modus", 1, 1, 6},     {L"Quorvel-Modus", 1, 8, 8},
      {L"Quorvel-Modus", 2, 1, 6},     {L"Quorvel-Modus", 2, 8, 8},
      {L"Zuverlässig", 1, 1, 6},       {L"Zuverlässig", 1, 8, 8},
      {L"Zuverlässig", 2, 1, 2},
  };
  ASSERT_EQ(plan.size(), std::size(expected));
  uint64_t offset = 0;
  for (size_t k = 0; k < plan.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(plan[k].accessType.name, expected[k].name);
    EXPECT_EQ(plan[k].workerCount, expected[k].workers);
    EXPECT_EQ(plan[k].blockSize, expected[k].blockMiB * kMiB);
    EXPECT_EQ(plan[k].byteCount, expected[k].sizeMiB * kMiB);
    EXPECT_EQ(plan[k].filePath, L"E:\\velkor.bin");  // one test point: the full test's own file
    EXPECT_EQ(plan[k].index, 0u);
    EXPECT_EQ(plan[k].fileOffset, offset);
    offset += plan[k].byteCount;
  }
  EXPECT_EQ(Sum(plan), 100 * kMiB);
}

TEST(MethodTestPlan, WorkerCountsFollowTheRequestAndTheLimits) {
  const struct {
    uint32_t requested, cpus, most;
  } rows[] = {{4, 8, 4}, {16, 8, 7}, {0, 8, 1}, {4, 1, 1}, {4, 2, 1}, {9, 10, 9}, {64, 64, 63}};
  for (const auto& row : rows) {
    const std::vector<uint32_t> counts = MethodTestWorkerCounts(row.requested, row.cpus);
    ASSERT_EQ(counts.size(), row.most) << row.requested << " on " << row.cpus;
    for (uint32_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], i + 1);
  }
  // The plan also stays below 90 % of the cores: 9 requested on 10 processors plans 1 to 8.
  TestConfig c = DriveE();
  c.workerCount = 9;
  uint32_t most = 0;
  for (const TestVariant& v : BuildMethodTestPlan(c, 10)) most = std::max(most, v.workerCount);
  EXPECT_EQ(most, 8u);
  c.workerCount = 16;
  most = 0;
  for (const TestVariant& v : BuildMethodTestPlan(c, 8)) most = std::max(most, v.workerCount);
  EXPECT_EQ(most, 7u);
  for (const uint32_t cpus : {1u, 2u}) {
    for (const TestVariant& v : BuildMethodTestPlan(c, cpus)) EXPECT_EQ(v.workerCount, 1u);
  }
}

TEST(MethodTestPlan, BlockSizes) {
  const struct {
    uint32_t configured;
    std::vector<uint32_t> sizes;
  } rows[] = {
      {1048576, {1048576, 8388608}},
      {8388608, {1048576, 8388608}},
      {4096, {4096, 1048576, 8388608}},
      {4194304, {1048576, 4194304, 8388608}},
      {16777216, {1048576, 8388608, 16777216}},
      {0, {1048576, 8388608}},  // no block of 0 bytes is ever planned
  };
  for (const auto& row : rows) EXPECT_EQ(MethodTestBlockSizes(row.configured), row.sizes) << row.configured;
}

TEST(MethodTestPlan, FilePathsGetExactlyOneSeparator) {
  TestConfig c = DriveE();
  EXPECT_EQ(MethodTestFilePath(c, 0), L"E:\\velkor_p01.bin");
  EXPECT_EQ(MethodTestFilePath(c, 15), L"E:\\velkor_p16.bin");
  c.driveRoot = L"E:";
  EXPECT_EQ(MethodTestFilePath(c, 1), std::wstring(L"E:") + platform::PathSeparator() + L"velkor_p02.bin");
  c.driveRoot = L"/mnt/stick/";
  EXPECT_EQ(MethodTestFilePath(c, 2), L"/mnt/stick/velkor_p03.bin");
  c.testPoints = 1;
  EXPECT_EQ(MethodTestFilePath(c, 0), L"E:\\velkor.bin");
  c.testPoints = 0;
  EXPECT_EQ(MethodTestFilePath(c, 0), L"E:\\velkor.bin");
}

TEST(MethodTestPlan, ReliableOnlyUsesTheReliableProfile) {
  TestConfig c = DriveE();
  c.reliableOnlyBenchmark = true;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  ASSERT_EQ(plan.size(), 8u);  // 4 worker counts x 2 block sizes
  for (const TestVariant& v : plan) {
    EXPECT_EQ(v.accessType.name, L"Zuverlässig");
    EXPECT_TRUE(v.accessType.writeThrough);
    EXPECT_EQ(v.accessType.ioChunkSize, 65536u);
    EXPECT_EQ(v.byteCount, 128 * kMiB);
  }
}

TEST(MethodTestPlan, BudgetComesFromBenchmarkBytesWhenSet) {
  TestConfig c = DriveE();
  c.testSize = 16384 * kMiB;
  c.benchmarkBytes = 256 * kMiB;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  EXPECT_EQ(plan.size(), 32u);
  EXPECT_EQ(Sum(plan), 256 * kMiB);
}

// FAT32 takes no file of 4 GiB: a large budget spreads over more files instead of growing the
// points' files past the full test's limit; without FAT32 the points' files take it all.
TEST(MethodTestPlan, NoFileOnFat32GrowsPastTheLimit) {
  TestConfig c = DriveE();
  c.testSize = 64ull << 30;  // 8 GiB per variant with 8 variants
  c.workerCount = 1;
  c.isFat32 = true;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 2);
  ASSERT_FALSE(plan.empty());
  std::map<std::wstring, uint64_t> fileBytes;
  std::map<std::wstring, uint32_t> fileIndex;
  for (const TestVariant& v : plan) {
    EXPECT_LE(v.byteCount, kFat32FileLimit);
    EXPECT_EQ(v.fileOffset, fileBytes[v.filePath]) << "each file is written from its start, variant after variant";
    fileBytes[v.filePath] += v.byteCount;
    EXPECT_EQ(v.filePath, MethodTestFilePath(c, v.index));
  }
  for (const auto& [path, bytes] : fileBytes) EXPECT_LE(bytes, kFat32FileLimit) << std::string(path.begin(), path.end());
  EXPECT_GT(fileBytes.size(), 3u) << "more files than test points";
  EXPECT_EQ(fileBytes.count(L"E:\\velkor_p04.bin"), 1u);

  c.isFat32 = false;
  for (const TestVariant& v : BuildMethodTestPlan(c, 2)) EXPECT_LT(v.index, 3u);
}

TEST(MethodTestPlan, TooSmallBudgetsGiveNoPlan) {
  TestConfig c = DriveE();
  c.testSize = 0;
  EXPECT_TRUE(BuildMethodTestPlan(c, 8).empty());
  c.testSize = 512 * 1024;  // below 1 MiB and 8 MiB blocks
  EXPECT_TRUE(BuildMethodTestPlan(c, 8).empty());
  // With 4 KiB blocks the same budget holds one variant of the smallest block size.
  c.blockSize = 4096;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].blockSize, 4096u);
  EXPECT_EQ(plan[0].byteCount, 512u * 1024);
  EXPECT_EQ(plan[0].accessType.name, L"Turbo (aggressiv)");
}

TEST(MethodTestPlan, ShareSmallerThanItsBlockStillGetsOneBlock) {
  TestConfig c = DriveE();
  c.workerCount = 1;
  c.testSize = 20 * kMiB;  // 8 combinations, 2.5 MiB each
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  // Turbo 1 MiB: 2 MiB; Turbo 8 MiB: one whole block of 8; Ausgeglichen 1 MiB: 2; Ausgeglichen
  // 8 MiB: 8; Quorvel 1 MiB: the 0 MiB left end the plan.
  ASSERT_EQ(plan.size(), 4u);
  const uint64_t sizes[] = {2, 8, 2, 8};
  for (size_t k = 0; k < plan.size(); ++k) EXPECT_EQ(plan[k].byteCount, sizes[k] * kMiB) << k;
}

TEST(MethodTestPlan, PseudoRandomPlacementWithFourOrMorePoints) {
  TestConfig c = DriveE();
  c.testPoints = 4;
  c.randomTestPoints = true;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  // Worked out by hand from the seed, the variant number, the block size and the worker count.
  const uint32_t expected[] = {0, 3, 1, 1, 0, 1, 2, 0, 2, 1, 2, 0, 2, 2, 1, 3,
                               0, 2, 0, 1, 2, 1, 0, 0, 0, 1, 2, 1, 3, 0, 0, 0};
  ASSERT_EQ(plan.size(), std::size(expected));
  for (size_t k = 0; k < plan.size(); ++k) {
    EXPECT_EQ(plan[k].index, expected[k]) << k;
    EXPECT_EQ(plan[k].filePath, L"E:\\velkor_p0" + std::to_wstring(expected[k] + 1) + L".bin");
  }
  ExpectConsecutiveRangesPerPoint(plan);

  c.testPoints = 16;
  c.seed = 12345;
  const uint32_t other[] = {6, 8, 1, 5, 4, 10, 2, 8, 6, 7, 15, 9, 7, 4, 7, 14,
                            13, 5, 0, 12, 10, 14, 10, 4, 8, 3, 11, 9, 2, 1, 0, 1};
  const std::vector<TestVariant> plan16 = BuildMethodTestPlan(c, 8);
  ASSERT_EQ(plan16.size(), std::size(other));
  for (size_t k = 0; k < plan16.size(); ++k) EXPECT_EQ(plan16[k].index, other[k]) << k;
  EXPECT_EQ(plan16[10].filePath, L"E:\\velkor_p16.bin");
  ExpectConsecutiveRangesPerPoint(plan16);

  // Deterministic: the same configuration gives the same plan.
  const std::vector<TestVariant> again = BuildMethodTestPlan(c, 8);
  for (size_t k = 0; k < plan16.size(); ++k) {
    EXPECT_EQ(again[k].index, plan16[k].index);
    EXPECT_EQ(again[k].fileOffset, plan16[k].fileOffset);
  }
}

TEST(MethodTestPlan, FewerThanFourPointsStayRoundRobinEvenWhenRandom) {
  TestConfig c = DriveE();
  c.randomTestPoints = true;
  c.testPoints = 3;
  const std::vector<TestVariant> plan = BuildMethodTestPlan(c, 8);
  for (size_t k = 0; k < plan.size(); ++k) EXPECT_EQ(plan[k].index, k % 3) << k;
  c.testPoints = 4;
  c.randomTestPoints = false;
  const std::vector<TestVariant> plan4 = BuildMethodTestPlan(c, 8);
  for (size_t k = 0; k < plan4.size(); ++k) EXPECT_EQ(plan4[k].index, k % 4) << k;
  ExpectConsecutiveRangesPerPoint(plan4);
}

}  // namespace
}  // namespace velkor
