#include "engine/pattern_origin.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/pattern.h"
#include "engine/run_config.h"

namespace velkor {
namespace {

// Pattern bytes of a block from an offset on.
std::string PatternFrom(uint64_t index, uint64_t offset, uint32_t blockSize, uint64_t length = 4096) {
  std::string block(blockSize, '\0');
  FillPatternReference(block.data(), blockSize, kTestPatternSeed, index);
  return block.substr(offset, length);
}

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(PatternOrigin, NamesTheBlockAndOffsetOfAnyPatternPiece) {
  struct Case {
    uint32_t blockSize;
    uint64_t index;
    uint64_t offset;
  };
  const Case cases[] = {
      {1048576, 0, 0},        {1048576, 768, 0},        {1048576, 1023, 0},
      {1048576, 5, 65536},    {1048576, 900, 1044480},  {65536, 4095, 61440},
      {4096, 12345, 0},       {1048576, 0, 4096},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.blockSize << " " << c.index << " +" << c.offset);
    const std::string data = PatternFrom(c.index, c.offset, c.blockSize);
    PatternOrigin origin;
    ASSERT_TRUE(FindPatternOrigin(Bytes(data), data.size(), kTestPatternSeed, 20000, c.blockSize, &origin));
    EXPECT_EQ(origin.index, c.index);
    EXPECT_EQ(origin.offset, c.offset);
  }
}

TEST(PatternOrigin, FindsNothingInWhatIsNoPatternOfTheTest) {
  const uint32_t block = 65536;
  std::string random(4096, '\0');
  std::mt19937_64 generator(7);
  for (char& c : random) c = static_cast<char>(generator());
  std::string damaged = PatternFrom(3, 0, block);
  damaged[5] ^= 0x10;
  const struct {
    const char* what;
    std::string data;
    uint64_t indexCount;
  } cases[] = {
      {"zeros", std::string(4096, '\0'), 1000},
      {"random bytes", random, 1000},
      {"a changed byte among the first 16", damaged, 1000},
      {"a block past the test", PatternFrom(1000, 0, block), 1000},
      {"an offset that is no multiple of 4 KiB", PatternFrom(3, 100, block), 1000},
      {"fewer than 16 bytes", PatternFrom(3, 0, block, 15), 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PatternOrigin origin;
    EXPECT_FALSE(FindPatternOrigin(Bytes(c.data), c.data.size(), kTestPatternSeed, c.indexCount, block, &origin));
  }
}

}  // namespace
}  // namespace velkor
