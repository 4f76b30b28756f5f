#include "engine/block_classes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/pattern.h"
#include "engine/run_config.h"

namespace velkor {
namespace {

constexpr uint32_t kBlock = 65536;
constexpr uint64_t kBlocks = 64;

std::string Pattern(uint64_t index) {
  std::string block(kBlock, '\0');
  FillPatternReference(block.data(), kBlock, kTestPatternSeed, index);
  return block;
}

BlockVerdict Classify(const std::string& data, uint64_t index) {
  return ClassifyMismatch(reinterpret_cast<const uint8_t*>(data.data()), data.size(), kTestPatternSeed, index,
                          kBlocks, kBlock);
}

TEST(BlockClasses, WhatABadBlockHeldNamesItsClass) {
  std::string flipped = Pattern(10);
  flipped[kBlock / 2] ^= 0x01;
  std::string ownStartElseForeign = Pattern(10).substr(0, 4096) + Pattern(40).substr(4096);
  std::string random(kBlock, '\0');
  std::mt19937 generator(3);
  for (char& c : random) c = static_cast<char>(generator());
  const std::string laterPiece = (Pattern(10) + Pattern(11)).substr(8192, kBlock);  // a cluster moved
  const struct {
    const char* what;
    std::string data;
    BlockClass kind;
    uint64_t source, offset, differing;
  } cases[] = {
      {"zeros", std::string(kBlock, '\0'), BlockClass::kEmpty, 0, 0, 0},
      {"0xFF", std::string(kBlock, '\xFF'), BlockClass::kEmpty, 0, 0, 0},
      {"a later block's data", Pattern(42), BlockClass::kOverwritten, 42, 0, 0},
      {"an earlier block's data", Pattern(3), BlockClass::kOverwritten, 3, 0, 0},
      {"its own data from further in", laterPiece, BlockClass::kOverwritten, 10, 8192, 0},
      {"one byte changed", flipped, BlockClass::kDamaged, 0, 0, 1},
      {"its own start, another block after it", ownStartElseForeign, BlockClass::kDamaged, 0, 0, 0},
      {"noise", random, BlockClass::kDamaged, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const BlockVerdict v = Classify(c.data, 10);
    EXPECT_EQ(v.kind, c.kind);
    if (c.kind == BlockClass::kOverwritten) {
      EXPECT_EQ(v.sourceIndex, c.source);
      EXPECT_EQ(v.sourceOffset, c.offset);
    }
    if (c.kind == BlockClass::kDamaged) {
      if (c.differing != 0) {
        EXPECT_EQ(v.differingBytes, c.differing);
      } else {
        EXPECT_GT(v.differingBytes, 1000u);  // most bytes of a foreign or random block differ
      }
    }
  }
}

// The sample reads only a block's start: that is enough to class it.
TEST(BlockClasses, TheFirst4KiBOfABlockAreEnough) {
  EXPECT_EQ(Classify(Pattern(50).substr(0, 4096), 2).kind, BlockClass::kOverwritten);
  EXPECT_EQ(Classify(std::string(4096, '\0'), 2).kind, BlockClass::kEmpty);
  std::string start = Pattern(2).substr(0, 4096);
  start[100] ^= 0x7F;
  const BlockVerdict v = Classify(start, 2);
  EXPECT_EQ(v.kind, BlockClass::kDamaged);
  EXPECT_EQ(v.differingBytes, 1u);
}

}  // namespace
}  // namespace velkor
