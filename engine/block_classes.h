// What a block that failed its comparison holds instead of its pattern.
#pragma once

#include <cstdint>

#include "results/diagnosis.h"

namespace velkor {

struct BlockVerdict {
  BlockClass kind = BlockClass::kOk;
  uint64_t sourceIndex = 0;     // kOverwritten: the pattern index of the block whose data it holds
  uint64_t sourceOffset = 0;    //   and where in that block the data starts (0 for a whole block)
  uint64_t differingBytes = 0;  // kDamaged: bytes that differ from the expected pattern
};

// The class of a block that did not match its pattern: data holds the first length bytes read from
// the block with pattern index patternIndex; patternCount blocks of blockSize bytes make up the
// test. kEmpty when every byte is 0x00 or every byte 0xFF; kOverwritten when the data starts as
// another block's pattern (or this block's from further in); kDamaged otherwise, with the count of
// differing bytes.
BlockVerdict ClassifyMismatch(const uint8_t* data, uint64_t length, uint64_t seed, uint64_t patternIndex,
                              uint64_t patternCount, uint32_t blockSize);

}  // namespace velkor
