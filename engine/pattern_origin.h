// Where test data that turns up in the wrong place came from. The generator is linear over GF(2):
// 16 pattern bytes fix the generator's state before them, and walking that state back gives the
// block index whose pattern they belong to, so no table of every block's bytes is needed.
#pragma once

#include <cstdint>

namespace velkor {

// Data is searched for at offsets in its source block that are multiples of this: file systems
// and fake media move data in clusters and pages of at least 4 KiB.
inline constexpr uint32_t kOriginStep = 4096;

// Offsets past this are not searched (a block that large is rare, and the walk back costs time).
inline constexpr uint64_t kOriginSearchBytes = 67108864;

struct PatternOrigin {
  uint64_t index = 0;   // the pattern index of the source block
  uint64_t offset = 0;  // where in that block the data starts: a multiple of kOriginStep
};

// The block (pattern index below indexCount, patterns of blockSize bytes from seed) and offset whose
// pattern starts as data does (its first 16 bytes). False for data of fewer than 16 bytes and for
// data that is no such pattern at such an offset (zeros, damage, anything else).
bool FindPatternOrigin(const uint8_t* data, uint64_t length, uint64_t seed, uint64_t indexCount, uint32_t blockSize,
                       PatternOrigin* origin);

}  // namespace velkor
