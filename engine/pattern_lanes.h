// Inside the pattern generator: the lane kernels of each path. Not for callers outside pattern*.cpp.
//
// A run of K * L bytes starting at stream position p is cut into K lanes of L bytes; lane j starts
// in state M^(j*L) S_p, where M is the generator's step as a 64x64 bit matrix. Each kernel steps
// its K lanes side by side, writes lane j's bytes to out + j*L and returns the state after the
// whole run (the last lane's final state).
#pragma once

#include <cstdint>

namespace velkor::pattern_detail {

inline constexpr uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ULL;

inline uint64_t Step(uint64_t s) {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return s;
}

// Lanes per kernel call. kMaxLanes bounds all of them.
inline constexpr uint32_t kPortableLanes = 8;
inline constexpr uint32_t kAvx2Lanes = 16;
inline constexpr uint32_t kAvx512Lanes = 32;
inline constexpr uint32_t kMaxLanes = 32;

// Lane lengths: kMainLaneBytes for the bulk, powers of two from 8 to 512 for what is left. The
// main length is 17 cache lines, so the lanes' write streams fall into different cache sets
// (a power of two would stack them into a few sets and evict each other).
inline constexpr uint32_t kLaneClasses = 8;  // 8, 16, ..., 512, main
inline constexpr uint64_t kMainLaneBytes = 17 * 64;
inline constexpr uint64_t LaneBytesOfClass(uint32_t laneClass) {
  return laneClass + 1 < kLaneClasses ? uint64_t{8} << laneClass : kMainLaneBytes;
}

// Fills states[0..lanes) with the starts of lanes of LaneBytesOfClass(laneClass) bytes from
// state s. REQUIRES: laneClass < kLaneClasses, lanes <= kMaxLanes.
void LaneStarts(uint64_t s, uint32_t laneClass, uint32_t lanes, uint64_t* states);

// REQUIRES: laneBytes a multiple of 8; states holds the kernel's lane count of lane starts.
uint64_t RunLanesPortable(uint8_t* out, uint64_t laneBytes, const uint64_t* states);
uint64_t RunLanesAvx2(uint8_t* out, uint64_t laneBytes, const uint64_t* states);
uint64_t RunLanesAvx512(uint8_t* out, uint64_t laneBytes, const uint64_t* states);

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
