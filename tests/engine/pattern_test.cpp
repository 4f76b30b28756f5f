#include "engine/pattern.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/run_config.h"

namespace velkor {
namespace {

std::vector<uint8_t> Reference(uint64_t length, uint64_t seed, uint64_t blockIndex) {
  std::vector<uint8_t> bytes(length);
  FillPatternReference(bytes.data(), length, seed, blockIndex);
  return bytes;
}

std::vector<PatternPath> SupportedPaths() {
  std::vector<PatternPath> paths;
  for (PatternPath p : {PatternPath::kPortable, PatternPath::kAvx2, PatternPath::kAvx2Gfni, PatternPath::kAvx512,
                        PatternPath::kAvx512Gfni}) {
    if (PatternPathSupported(p)) paths.push_back(p);
  }
  return paths;
}

TEST(Pattern, WorkedExample) {
  struct Case {
    uint64_t blockIndex;
    uint64_t initialState;
    uint8_t first[8];
  };
  const Case cases[] = {
      {0, 0x3B92DC1CAEEFD9B0ULL, {0x03, 0x17, 0x13, 0xC5, 0xEA, 0x05, 0xC1, 0x98}},
      {1, 0x3B92DC1CAEEFD9B3ULL, {0xC0, 0xD5, 0x28, 0xA2, 0x2D, 0x07, 0x17, 0xED}},
      {2, 0x3B92DC1CAEEFD9B2ULL, {0x81, 0x94, 0x01, 0x87, 0x48, 0x06, 0x66, 0xE0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blockIndex);
    EXPECT_EQ(PatternStartState(kTestPatternSeed, c.blockIndex), c.initialState);
    uint8_t reference[8], fast[8];
    FillPatternReference(reference, 8, kTestPatternSeed, c.blockIndex);
    FillPattern(fast, 8, kTestPatternSeed, c.blockIndex);
    EXPECT_EQ(0, std::memcmp(reference, c.first, 8));
    EXPECT_EQ(0, std::memcmp(fast, c.first, 8));
  }
}

// Every generator on this CPU against the byte loop: lengths around every lane and run boundary,
// odd ones, and a few blocks long; fixed and random seeds and block indices. A guard byte past the
// end catches writes beyond the length.
TEST(Pattern, EveryPathMatchesTheByteLoop) {
  std::vector<uint64_t> lengths = {0, 1, 2, 7, 8, 9, 15, 63, 64, 65, 127, 128, 129, 255, 256, 257,
                                   511, 512, 513, 1000, 4095, 4096, 4097, 8191, 8192, 16383, 16384,
                                   34815, 34816, 34817, 65536, 69631, 69632, 69633, 139264 + 9, 100001, 262144, 1048575,
                                   1048576, 3 * 1048576 + 13};
  std::mt19937_64 random(12345);
  for (int i = 0; i < 24; ++i) lengths.push_back(random() % (3 * 65536));
  const uint64_t seeds[] = {kTestPatternSeed, 0, 1, 0xFFFFFFFFFFFFFFFFULL, random()};
  const uint64_t indices[] = {0, 1, 2, 3, 1023, 0xFFFFFFFFULL, random()};

  for (PatternPath path : SupportedPaths()) {
    SCOPED_TRACE(PatternPathName(path));
    for (uint64_t length : lengths) {
      for (uint64_t seed : seeds) {
        for (uint64_t index : indices) {
          // The long lengths once per path is enough; the short ones see every seed and index.
          if (length > 300000 && (seed != kTestPatternSeed || index > 3)) continue;
          const std::vector<uint8_t> expected = Reference(length, seed, index);
          std::vector<uint8_t> actual(length + 1, 0xA5);
          FillPatternOn(path, actual.data(), length, seed, index);
          ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
              << "length " << length << " seed " << seed << " index " << index;
          ASSERT_EQ(actual[length], 0xA5) << "wrote past length " << length;
        }
      }
    }
  }
}

// Produced in pieces of any size, a block is the same as in one go.
TEST(Pattern, PiecesContinueTheBlock) {
  const uint64_t length = 300000;
  const std::vector<uint8_t> expected = Reference(length, kTestPatternSeed, 7);
  std::mt19937_64 random(99);
  for (PatternPath path : SupportedPaths()) {
    SCOPED_TRACE(PatternPathName(path));
    std::vector<uint8_t> actual(length);
    uint64_t state = PatternStartState(kTestPatternSeed, 7);
    for (uint64_t done = 0; done < length;) {
      uint64_t piece = random() % 70000;
      if (piece > length - done) piece = length - done;
      NextPatternBytesOn(path, &state, actual.data() + done, piece);
      done += piece;
    }
    EXPECT_EQ(expected, actual);
  }
}

TEST(Pattern, ZeroLengthWritesNothing) {
  uint8_t byte = 0x5A;
  FillPattern(&byte, 0, kTestPatternSeed, 0);
  FillPatternReference(&byte, 0, kTestPatternSeed, 0);
  EXPECT_EQ(byte, 0x5A);
}

// A block's first bytes do not depend on its size; neighbouring blocks differ from byte 0 on.
TEST(Pattern, PrefixIsIndependentOfBlockSizeAndBlocksDiffer) {
  const std::vector<uint8_t> big = Reference(1048576, kTestPatternSeed, 5);
  std::vector<uint8_t> small(4096);
  FillPattern(small.data(), small.size(), kTestPatternSeed, 5);
  EXPECT_TRUE(std::equal(small.begin(), small.end(), big.begin()));
  EXPECT_NE(Reference(1, kTestPatternSeed, 0), Reference(1, kTestPatternSeed, 1));
}

// Every path's one-pass comparison: a correct block matches, a neighbour's does not, and a single
// flipped byte anywhere is found (the first and last lane of a run, the byte-step tail, a run that
// is not the first).
TEST(Pattern, EveryPathFindsAnySingleFlippedByte) {
  for (PatternPath path : SupportedPaths()) {
    SCOPED_TRACE(PatternPathName(path));
    for (uint64_t length : {uint64_t{1}, uint64_t{4096}, uint64_t{100001}, uint64_t{1048576}}) {
      SCOPED_TRACE(length);
      std::vector<uint8_t> data = Reference(length, kTestPatternSeed, 11);
      EXPECT_TRUE(MatchesPatternOn(path, data.data(), length, kTestPatternSeed, 11));
      EXPECT_FALSE(MatchesPatternOn(path, data.data(), length, kTestPatternSeed, 12));
      for (uint64_t at : std::set<uint64_t>{0, 7, 1087, length / 3, length / 2, length - 9, length - 1}) {
        if (at >= length) continue;
        data[at] ^= 0x10;
        EXPECT_FALSE(MatchesPatternOn(path, data.data(), length, kTestPatternSeed, 11)) << "flip at " << at;
        data[at] ^= 0x10;
      }
    }
    EXPECT_TRUE(MatchesPatternOn(path, nullptr, 0, kTestPatternSeed, 0));
  }
  const std::vector<uint8_t> data = Reference(65536, kTestPatternSeed, 4);
  EXPECT_TRUE(MatchesPattern(data.data(), data.size(), kTestPatternSeed, 4));
  EXPECT_FALSE(MatchesPattern(data.data(), data.size(), kTestPatternSeed, 5));
}

// Every byte of a run is compared: a flip at each offset of a short run (two lanes' worth and the
// tail) on every path.
TEST(Pattern, EveryPathComparesEveryByteOfARun) {
  const uint64_t length = 2 * 17 * 64 * 32 + 1000;
  std::vector<uint8_t> data = Reference(length, kTestPatternSeed, 2);
  for (PatternPath path : SupportedPaths()) {
    SCOPED_TRACE(PatternPathName(path));
    for (uint64_t at = 0; at < length; at += 61) {
      data[at] ^= 0x80;
      ASSERT_FALSE(MatchesPatternOn(path, data.data(), length, kTestPatternSeed, 2)) << "flip at " << at;
      data[at] ^= 0x80;
    }
  }
}

}  // namespace
}  // namespace velkor
