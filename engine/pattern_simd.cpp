// The vector kernels of the pattern generator. Each function carries its own target attribute, so
// this file builds with the baseline flags and nothing here runs unless the CPU check chose it.
// Unaligned loads and stores only: MinGW does not align the stack for vector locals.
// GCC 12 warns about its own intrinsics headers (_mm512_undefined) once they are inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <immintrin.h>

#include <cstring>
#include <type_traits>

#include "engine/pattern_lanes.h"

#define VELKOR_AVX2 __attribute__((target("avx2")))
#define VELKOR_AVX512 __attribute__((target("avx512f,avx512bw")))
#define VELKOR_INLINE __attribute__((always_inline)) inline

namespace velkor::pattern_detail {
namespace {

template <typename Bytes>
constexpr bool kCompares = std::is_const_v<std::remove_pointer_t<Bytes>>;

// Per lane, the 8-byte word just made (in words[]): written to its place, or XORed with the data
// there and ORed into acc. The words go through memory on purpose: left to itself, GCC extracts
// them with shuffles, the busiest unit in these kernels.
template <uint32_t kLanes, typename Bytes>
VELKOR_INLINE void PutWords(Bytes bytes, uint64_t laneBytes, const uint64_t* words, uint64_t* acc) {
  __asm__("" : : "m"(*reinterpret_cast<const uint64_t(*)[kLanes]>(words)) : "memory");
#pragma GCC unroll 32
  for (uint32_t j = 0; j < kLanes; ++j, bytes += laneBytes) {
    if constexpr (kCompares<Bytes>) {
      uint64_t data;
      std::memcpy(&data, bytes, 8);
      *acc |= data ^ words[j];
    } else {
      std::memcpy(bytes, &words[j], 8);
    }
  }
}

// ---- AVX2: 16 lanes in four vectors, one more lane in general-purpose registers.

VELKOR_AVX2 VELKOR_INLINE __m256i Step(__m256i x) {
  x = _mm256_xor_si256(x, _mm256_slli_epi64(x, 13));
  x = _mm256_xor_si256(x, _mm256_srli_epi64(x, 7));
  return _mm256_xor_si256(x, _mm256_slli_epi64(x, 17));
}

// pshufb with the control taken from memory: as a register operand GCC keeps all eight controls
// in registers, which AVX2's sixteen cannot spare.
VELKOR_AVX2 VELKOR_INLINE __m256i GatherByte(__m256i x, const uint8_t* control) {
  __asm__("vpshufb %1, %0, %0" : "+x"(x) : "m"(*reinterpret_cast<const uint8_t(*)[32]>(control)));
  return x;
}

template <typename Bytes>
VELKOR_AVX2 VELKOR_INLINE uint64_t Avx2Lanes(Bytes bytes, uint64_t laneBytes, const LaneStartRows& rows,
                                             uint64_t start, uint64_t* diff) {
  constexpr uint32_t kVectors = kAvx2VectorLanes / 4;
  static_assert(kAvx2Lanes == kAvx2VectorLanes + 1);
  __m256i s[kVectors];
#pragma GCC unroll 4
  for (uint32_t v = 0; v < kVectors; ++v) s[v] = _mm256_setzero_si256();
  uint64_t single = 0;  // the lane in general-purpose registers, the last one
  for (uint64_t bits = start; bits != 0; bits &= bits - 1) {
    const uint64_t* row = rows.row[__builtin_ctzll(bits)];
#pragma GCC unroll 4
    for (uint32_t v = 0; v < kVectors; ++v) {
      s[v] = _mm256_xor_si256(s[v], _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * v)));
    }
    single ^= row[kAvx2VectorLanes];
  }
  const __m256i lowByte = _mm256_set1_epi64x(0xFF);
  uint64_t words[kAvx2VectorLanes];
  uint8_t singleBytes[8];
  uint64_t acc = 0;
  const auto singleLane = bytes + kAvx2VectorLanes * laneBytes;
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    __m256i w[kVectors];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) {
        s[v] = Step(s[v]);
        if (k == 0) {
          w[v] = _mm256_and_si256(s[v], lowByte);
        } else {
          w[v] = _mm256_or_si256(w[v], GatherByte(s[v], kByteGather.row[k]));
        }
      }
      single = pattern_detail::Step(single);
      if constexpr (kCompares<Bytes>) {
        singleBytes[k] = static_cast<uint8_t>(single);
      } else {
        singleLane[t + k] = static_cast<uint8_t>(single);
      }
    }
#pragma GCC unroll 4
    for (uint32_t v = 0; v < kVectors; ++v) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(words + 4 * v), w[v]);
    }
    PutWords<kAvx2VectorLanes>(bytes + t, laneBytes, words, &acc);
    if constexpr (kCompares<Bytes>) {
      uint64_t expected, data;
      std::memcpy(&expected, singleBytes, 8);
      std::memcpy(&data, singleLane + t, 8);
      acc |= data ^ expected;
    }
  }
  if (diff != nullptr) *diff |= acc;
  return single;
}

// ---- AVX-512: 32 lanes in four vectors.

VELKOR_AVX512 VELKOR_INLINE __m512i Step(__m512i x) {
  x = _mm512_xor_si512(x, _mm512_slli_epi64(x, 13));
  x = _mm512_xor_si512(x, _mm512_srli_epi64(x, 7));
  return _mm512_xor_si512(x, _mm512_slli_epi64(x, 17));
}

// Shifts use one port, shuffles the other, and the XORs either: one masked shuffle per step puts
// each lane's new byte into its word (byte k of every 64-bit element, the rest kept), so a step
// costs seven operations.
template <typename Bytes>
VELKOR_AVX512 VELKOR_INLINE uint64_t Avx512Lanes(Bytes bytes, uint64_t laneBytes, const LaneStartRows& rows,
                                                 uint64_t start, uint64_t* diff) {
  constexpr uint32_t kVectors = kAvx512Lanes / 8;
  __m512i s[kVectors];
#pragma GCC unroll 4
  for (uint32_t v = 0; v < kVectors; ++v) s[v] = _mm512_setzero_si512();
  for (uint64_t bits = start; bits != 0; bits &= bits - 1) {
    const uint64_t* row = rows.row[__builtin_ctzll(bits)];
#pragma GCC unroll 4
    for (uint32_t v = 0; v < kVectors; ++v) s[v] = _mm512_xor_si512(s[v], _mm512_loadu_si512(row + 8 * v));
  }
  __m512i gather[8];
#pragma GCC unroll 8
  for (int k = 1; k < 8; ++k) gather[k] = _mm512_loadu_si512(kByteGather.row[k]);
  uint64_t words[kAvx512Lanes];
  uint64_t acc = 0;
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    __m512i w[kVectors];
#pragma GCC unroll 4
    for (uint32_t v = 0; v < kVectors; ++v) {
      s[v] = Step(s[v]);
      w[v] = s[v];  // byte 0 is step 0's; the others are overwritten below
    }
#pragma GCC unroll 8
    for (int k = 1; k < 8; ++k) {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) {
        s[v] = Step(s[v]);
        w[v] = _mm512_mask_shuffle_epi8(w[v], __mmask64{0x0101010101010101ULL} << k, s[v], gather[k]);
      }
    }
#pragma GCC unroll 4
    for (uint32_t v = 0; v < kVectors; ++v) _mm512_storeu_si512(words + 8 * v, w[v]);
    PutWords<kAvx512Lanes>(bytes + t, laneBytes, words, &acc);
  }
  if (diff != nullptr) *diff |= acc;
  _mm512_storeu_si512(words, s[kVectors - 1]);
  return words[7];
}

}  // namespace

VELKOR_AVX2 uint64_t FillLanesAvx2(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s) {
  return Avx2Lanes(out, laneBytes, rows, s, nullptr);
}

VELKOR_AVX2 uint64_t CompareLanesAvx2(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                                      uint64_t* diff) {
  return Avx2Lanes(in, laneBytes, rows, s, diff);
}

VELKOR_AVX512 uint64_t FillLanesAvx512(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s) {
  return Avx512Lanes(out, laneBytes, rows, s, nullptr);
}

VELKOR_AVX512 uint64_t CompareLanesAvx512(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows,
                                          uint64_t s, uint64_t* diff) {
  return Avx512Lanes(in, laneBytes, rows, s, diff);
}

}  // namespace velkor::pattern_detail
