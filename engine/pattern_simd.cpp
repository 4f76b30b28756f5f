// The vector kernels of the pattern generator. Each function carries its own target attribute, so
// this file builds with the baseline flags and nothing here runs unless the CPU check chose it.
// GCC 12 warns about its own intrinsics headers (_mm512_undefined) once they are inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <immintrin.h>

#include <cstring>

#include "engine/pattern_lanes.h"

#define VELKOR_AVX2 __attribute__((target("avx2")))
#define VELKOR_AVX512 __attribute__((target("avx512f,avx512bw")))
#define VELKOR_INLINE __attribute__((always_inline)) inline

namespace velkor::pattern_detail {
namespace {

// Each lane writes its own stream; once per cache line, ask for the line four ahead in every
// lane, so stores into a buffer beyond the second-level cache do not wait for it. (A prefetch never
// faults, also past the end of the buffer.)
constexpr uint64_t kPrefetchAhead = 256;

VELKOR_INLINE void PrefetchLanes(uint8_t* out, uint64_t t, uint64_t laneBytes, uint32_t lanes) {
  if ((t & 63) != 0) return;
  uint8_t* line = out + t + kPrefetchAhead;
  for (uint32_t j = 0; j < lanes; ++j, line += laneBytes) __builtin_prefetch(line, 1, 3);
}

// Steps four vectors of lanes once and ORs each lane's low byte into byte k of its word
// (gather holds the control row for k).
VELKOR_AVX2 VELKOR_INLINE void StepAndGather(__m256i (&s)[4], __m256i (&w)[4], __m256i gather) {
#pragma GCC unroll 4
  for (int v = 0; v < 4; ++v) {
    __m256i x = s[v];
    x = _mm256_xor_si256(x, _mm256_slli_epi64(x, 13));
    x = _mm256_xor_si256(x, _mm256_srli_epi64(x, 7));
    x = _mm256_xor_si256(x, _mm256_slli_epi64(x, 17));
    s[v] = x;
    w[v] = _mm256_or_si256(w[v], _mm256_shuffle_epi8(x, gather));
    // Keeps the ORs in order: regrouped, they keep every gathered vector alive and spill.
    __asm__("" : "+x"(w[v]));
  }
}

VELKOR_AVX512 VELKOR_INLINE __m512i Step(__m512i x) {
  x = _mm512_xor_si512(x, _mm512_slli_epi64(x, 13));
  x = _mm512_xor_si512(x, _mm512_srli_epi64(x, 7));
  return _mm512_xor_si512(x, _mm512_slli_epi64(x, 17));
}

// Two steps at a time: one ternary OR takes both gathered bytes.
VELKOR_AVX512 VELKOR_INLINE void StepTwiceAndGather(__m512i (&s)[4], __m512i (&w)[4], __m512i gather0,
                                                    __m512i gather1) {
#pragma GCC unroll 4
  for (int v = 0; v < 4; ++v) {
    const __m512i first = Step(s[v]);
    s[v] = Step(first);
    w[v] = _mm512_ternarylogic_epi64(w[v], _mm512_shuffle_epi8(first, gather0),
                                     _mm512_shuffle_epi8(s[v], gather1), 0xFE);
    __asm__("" : "+v"(w[v]));
  }
}

}  // namespace

// Unaligned loads and stores only: MinGW does not align the stack for vector locals.
VELKOR_AVX2 uint64_t RunLanesAvx2(uint8_t* out, uint64_t laneBytes, const uint64_t* states) {
  constexpr uint32_t kLanes = kAvx2Lanes;
  __m256i s[4];
#pragma GCC unroll 4
  for (int v = 0; v < 4; ++v) s[v] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states + 4 * v));
  __m256i g[8];
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) g[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kByteGather.row[k]));
  uint64_t word[kLanes];
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    __m256i w[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                    _mm256_setzero_si256()};
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) StepAndGather(s, w, g[k]);
    PrefetchLanes(out, t, laneBytes, kLanes);
#pragma GCC unroll 4
    for (int v = 0; v < 4; ++v) _mm256_storeu_si256(reinterpret_cast<__m256i*>(word + 4 * v), w[v]);
    __asm__("" : : "m"(word) : "memory");
    uint8_t* to = out + t;
#pragma GCC unroll 32
    for (uint32_t j = 0; j < kLanes; ++j, to += laneBytes) std::memcpy(to, &word[j], 8);
  }
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(word), s[3]);
  return word[3];
}

VELKOR_AVX512 uint64_t RunLanesAvx512(uint8_t* out, uint64_t laneBytes, const uint64_t* states) {
  constexpr uint32_t kLanes = kAvx512Lanes;
  __m512i s[4];
#pragma GCC unroll 4
  for (int v = 0; v < 4; ++v) s[v] = _mm512_loadu_si512(states + 8 * v);
  __m512i g[8];
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) g[k] = _mm512_loadu_si512(kByteGather.row[k]);
  uint64_t word[kLanes];
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    __m512i w[4] = {_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512(),
                    _mm512_setzero_si512()};
#pragma GCC unroll 4
    for (int k = 0; k < 8; k += 2) StepTwiceAndGather(s, w, g[k], g[k + 1]);
    PrefetchLanes(out, t, laneBytes, kLanes);
#pragma GCC unroll 4
    for (int v = 0; v < 4; ++v) _mm512_storeu_si512(word + 8 * v, w[v]);
    // Through memory: left alone, GCC extracts the words with shuffles, the busiest unit here.
    __asm__("" : : "m"(word) : "memory");
    uint8_t* to = out + t;
#pragma GCC unroll 32
    for (uint32_t j = 0; j < kLanes; ++j, to += laneBytes) std::memcpy(to, &word[j], 8);
  }
  _mm512_storeu_si512(word, s[3]);
  return word[7];
}

}  // namespace velkor::pattern_detail
