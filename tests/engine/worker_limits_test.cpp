#include "engine/worker_limits.h"

#include <gtest/gtest.h>

#include "platform/system.h"

namespace velkor {
namespace {

TEST(WorkerLimits, TableOfProcessorCounts) {
  const struct {
    uint32_t cpus, max, sample;
  } rows[] = {{1, 1, 1},   {2, 1, 1},     {4, 3, 3},     {8, 7, 7},    {10, 9, 8},
              {12, 11, 10}, {16, 15, 14}, {32, 31, 28}, {64, 63, 57}};
  for (const auto& row : rows) {
    EXPECT_EQ(MaxWorkerCount(row.cpus), row.max) << row.cpus;
    EXPECT_EQ(SampleWorkerCount(row.cpus), row.sample) << row.cpus;
  }
}

TEST(WorkerLimits, OneCoreStaysFreeAndTheSampleStaysBelowNinetyPercent) {
  for (uint32_t cpus = 1; cpus <= 64; ++cpus) {
    SCOPED_TRACE(cpus);
    EXPECT_EQ(MaxWorkerCount(cpus), cpus == 1 ? 1u : cpus - 1);
    // The largest count below 90 % of the cores, found by walking down.
    uint32_t below = 0;
    for (uint32_t w = cpus; w >= 1 && below == 0; --w) {
      if (w * 100 < cpus * 90) below = w;
    }
    const uint32_t expected = std::min(MaxWorkerCount(cpus), std::max(1u, below));
    EXPECT_EQ(SampleWorkerCount(cpus), expected);
  }
}

TEST(WorkerLimits, ThisMachineFollowsTheSameRules) {
  const uint32_t cpus = platform::LogicalProcessorCount();
  EXPECT_EQ(CpuCount(), cpus < 1 ? 1 : cpus);
  EXPECT_EQ(MaxWorkerCount(), MaxWorkerCount(CpuCount()));
  EXPECT_EQ(SampleWorkerCount(), SampleWorkerCount(CpuCount()));
}

TEST(RoundDownToMultiple, Cases) {
  EXPECT_EQ(RoundDownToMultiple(0, 4096), 0u);
  EXPECT_EQ(RoundDownToMultiple(4095, 4096), 0u);
  EXPECT_EQ(RoundDownToMultiple(4096, 4096), 4096u);
  EXPECT_EQ(RoundDownToMultiple(6553600, 1048576), 6291456u);
  EXPECT_EQ(RoundDownToMultiple(12345, 0), 12345u);
  EXPECT_EQ(RoundDownToMultiple(UINT64_MAX, 1048576), UINT64_MAX - 1048575);
}

}  // namespace
}  // namespace velkor
