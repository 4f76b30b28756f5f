#include "engine/block_classes.h"

#include <algorithm>

#include "engine/pattern.h"
#include "engine/pattern_origin.h"

namespace velkor {
namespace {

bool AllBytesAre(const uint8_t* data, uint64_t length, uint8_t value) {
  return std::all_of(data, data + length, [value](uint8_t b) { return b == value; });
}

// Bytes that differ from the block's pattern, generated piece by piece.
uint64_t CountDifferingBytes(const uint8_t* data, uint64_t length, uint64_t seed, uint64_t patternIndex) {
  uint8_t expected[4096];
  uint64_t state = PatternStartState(seed, patternIndex);
  uint64_t differing = 0;
  for (uint64_t done = 0; done < length;) {
    const uint64_t piece = std::min<uint64_t>(sizeof expected, length - done);
    NextPatternBytes(&state, expected, piece);
    for (uint64_t i = 0; i < piece; ++i) differing += data[done + i] != expected[i];
    done += piece;
  }
  return differing;
}

}  // namespace

BlockVerdict ClassifyMismatch(const uint8_t* data, uint64_t length, uint64_t seed, uint64_t patternIndex,
                              uint64_t patternCount, uint32_t blockSize) {
  BlockVerdict verdict;
  if (length > 0 && (AllBytesAre(data, length, 0x00) || AllBytesAre(data, length, 0xFF))) {
    verdict.kind = BlockClass::kEmpty;
    return verdict;
  }
  PatternOrigin origin;
  if (FindPatternOrigin(data, length, seed, patternCount, blockSize, &origin) &&
      (origin.index != patternIndex || origin.offset != 0)) {
    verdict.kind = BlockClass::kOverwritten;
    verdict.sourceIndex = origin.index;
    verdict.sourceOffset = origin.offset;
    return verdict;
  }
  verdict.kind = BlockClass::kDamaged;
  verdict.differingBytes = CountDifferingBytes(data, length, seed, patternIndex);
  return verdict;
}

}  // namespace velkor
