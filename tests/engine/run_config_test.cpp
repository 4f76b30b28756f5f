#include "engine/run_config.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(TestConfig, Defaults) {
  const TestConfig c;
  EXPECT_EQ(c.testSize, 1073741824u);
  EXPECT_EQ(c.blockSize, 1048576u);
  EXPECT_EQ(c.workerCount, 4u);
  EXPECT_EQ(c.errorLimit, 200u);
  EXPECT_EQ(c.seed, 0xA5A5A5A5D1A5A5A5ULL);
  EXPECT_EQ(c.reserveFree, 1073741824u);
  EXPECT_EQ(c.ioChunkSize, 262144u);
  EXPECT_EQ(c.testPoints, 3u);
  EXPECT_TRUE(c.randomTestPoints);
  EXPECT_TRUE(c.useFastest);
  EXPECT_FALSE(c.methodTest || c.verify || c.verifyOnly || c.writeThrough || c.deleteAtEnd);
  EXPECT_EQ(c.accessProfile, 1u);
}

TEST(TestState, StartsIdle) {
  const TestState s;
  EXPECT_FALSE(s.running);
  EXPECT_FALSE(s.stopRequested);
  EXPECT_EQ(s.phase, kPhaseIdle);
  EXPECT_EQ(s.blocksWritten + s.blocksVerified + s.errorCount + s.totalBlocks, 0u);
  EXPECT_TRUE(s.createdFiles.empty());
  EXPECT_EQ(s.startTicks, 0);
}

TEST(AccessProfile, TableAndOutOfRangeValues) {
  const struct {
    uint32_t profile;
    const wchar_t* name;
    bool writeThrough;
    uint32_t chunk;
  } cases[] = {
      {0, L"Turbo (aggressiv)", false, 1048576}, {1, L"Ausgeglichen", false, 262144},
      {2, L"Zuverlässig", true, 65536},         {3, L"Quorvel-Modus", false, 8388608},
      {7, L"Ausgeglichen", false, 262144},      {0xFFFFFFFF, L"Ausgeglichen", false, 262144},
  };
  for (const auto& c : cases) {
    const AccessType t = AccessTypeForProfile(c.profile);
    EXPECT_EQ(t.name, c.name) << c.profile;
    EXPECT_TRUE(t.verifyAfterWrite);
    EXPECT_EQ(t.writeThrough, c.writeThrough) << c.profile;
    EXPECT_EQ(t.ioChunkSize, c.chunk) << c.profile;
  }
}

TEST(AccessProfile, WhatTheStartCommandSets) {
  const struct {
    uint32_t profile;
    bool verify, writeThrough;
    uint32_t limit;
  } cases[] = {{0, false, false, 10000}, {1, false, false, 2000}, {2, true, true, 500},
               {3, true, false, 500},    {9, true, true, 500}};
  for (const auto& c : cases) {
    TestConfig config;
    ApplyProfileToConfig(c.profile, config);
    EXPECT_EQ(config.verify, c.verify) << c.profile;
    EXPECT_EQ(config.writeThrough, c.writeThrough) << c.profile;
    EXPECT_EQ(config.errorLimit, c.limit) << c.profile;
  }
  TestConfig quorvel;
  quorvel.writeThrough = true;  // left as it was
  ApplyProfileToConfig(kProfileQuorvel, quorvel);
  EXPECT_TRUE(quorvel.writeThrough);
}

}  // namespace
}  // namespace velkor
