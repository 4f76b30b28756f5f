// Inside the pattern generator: the lane kernels of each path. Not for callers outside pattern*.cpp.
//
// A run of K * L bytes starting at stream position p is cut into K lanes of L bytes; lane j starts
// in state M^(j*L) S_p, where M is the generator's step as a 64x64 bit matrix. A kernel finds its
// K lane starts from S_p and the run's table of matrix powers, produces the lanes side by side, and
// returns the state after the whole run (the last lane's final state). A fill kernel writes lane
// j's bytes to out + j*L; a compare kernel ORs (data XOR pattern) of the same bytes into *diff.
//
// Most kernels step their lanes one generator step at a time. The GFNI kernel uses that the
// generator is linear: 16 steps are one 64x64 bit matrix, and so are the 16 bytes they put out;
// with each lane state spread over eight byte planes, GF2P8AFFINEQB multiplies 32 or 64 lanes at
// once by one 8x8 block of such a matrix.
#pragma once

#include <cstdint>

namespace velkor::pattern_detail {

inline constexpr uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ULL;

inline constexpr uint64_t Step(uint64_t s) {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return s;
}

// Lanes per kernel call. kMaxLanes bounds all of them. The AVX2 kernel runs one lane beside its
// vectors in general-purpose registers, which use ports the vectors leave idle.
inline constexpr uint32_t kPortableLanes = 12;
inline constexpr uint32_t kAvx2VectorLanes = 16;
inline constexpr uint32_t kAvx2Lanes = kAvx2VectorLanes + 1;
inline constexpr uint32_t kAvx512Lanes = 32;
inline constexpr uint32_t kMaxLanes = 32;
// The GFNI kernels take the main lane length only; what is left goes to their path's other kernel.
inline constexpr uint32_t kAvx2GfniLanes = 32;
inline constexpr uint32_t kAvx512GfniLanes = 64;

// Lane lengths: kMainLaneBytes for the bulk, powers of two from 8 to 512 for what is left. The
// main length is 17 cache lines, so the lanes' streams fall into different cache sets (a power of
// two would stack them into a few sets and evict each other).
inline constexpr uint32_t kLaneClasses = 8;  // 8, 16, ..., 512, main
inline constexpr uint64_t kMainLaneBytes = 17 * 64;
inline constexpr uint64_t LaneBytesOfClass(uint32_t laneClass) {
  return laneClass + 1 < kLaneClasses ? uint64_t{8} << laneClass : kMainLaneBytes;
}

// row[i][j] = M^(j * L) applied to bit i, for the lane length L of one class: lane j starts in
// the XOR of row[i][j] over the set bits i of the run's start state.
struct LaneStartRows {
  uint64_t row[64][kMaxLanes];
};

// The rows of a lane class, computed once. REQUIRES: laneClass < kLaneClasses.
const LaneStartRows& LaneStartRowsOf(uint32_t laneClass);

// rows[i * lanes + j] = M^(j * laneBytes) applied to bit i, for i < 64 and j < lanes.
void LaneJumpRows(uint64_t laneBytes, uint32_t lanes, uint64_t* rows);

// REQUIRES: laneBytes a multiple of 8 and not 0; rows of the class of laneBytes.
uint64_t FillLanesPortable(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s);
uint64_t FillLanesAvx2(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s);
uint64_t FillLanesAvx512(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s);
uint64_t CompareLanesPortable(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                              uint64_t* diff);
uint64_t CompareLanesAvx2(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                          uint64_t* diff);
uint64_t CompareLanesAvx512(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                            uint64_t* diff);

// kAvx2GfniLanes or kAvx512GfniLanes lanes of kMainLaneBytes.
uint64_t FillLanesAvx2Gfni(uint8_t* out, uint64_t s);
uint64_t CompareLanesAvx2Gfni(const uint8_t* in, uint64_t s, uint64_t* diff);
uint64_t FillLanesAvx512Gfni(uint8_t* out, uint64_t s);
uint64_t CompareLanesAvx512Gfni(const uint8_t* in, uint64_t s, uint64_t* diff);

// pshufb controls that move the low byte of each 64-bit element to byte k of that element and
// clear every other byte; one row of 64 bytes per k (the first 32 serve 256-bit vectors).
struct ByteGatherTable {
  alignas(64) uint8_t row[8][64];
};
inline constexpr ByteGatherTable MakeByteGatherTable() {
  ByteGatherTable t{};
  for (int k = 0; k < 8; ++k) {
    for (int m = 0; m < 64; ++m) t.row[k][m] = (m % 8 == k) ? static_cast<uint8_t>(m & 8) : 0x80;
  }
  return t;
}
inline constexpr ByteGatherTable kByteGather = MakeByteGatherTable();

}  // namespace velkor::pattern_detail
