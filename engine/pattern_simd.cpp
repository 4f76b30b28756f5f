// The vector kernels of the pattern generator. Each function carries its own target attribute, so
// this file builds with the baseline flags and nothing here runs unless the CPU check chose it.
// Unaligned loads and stores only: MinGW does not align the stack for vector locals.
// GCC 12 warns about its own intrinsics headers (_mm512_undefined, the unpacks) once they are
// inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"

#include <immintrin.h>

#include <cstring>
#include <type_traits>
#include <vector>

#include "engine/pattern_lanes.h"

#define VELKOR_AVX2 __attribute__((target("avx2")))
#define VELKOR_AVX512 __attribute__((target("avx512f,avx512bw")))
#define VELKOR_AVX2_GFNI __attribute__((target("avx2,gfni")))
#define VELKOR_AVX512_GFNI __attribute__((target("avx512f,avx512bw,gfni")))
#define VELKOR_INLINE __attribute__((always_inline)) inline

namespace velkor::pattern_detail {
namespace {

template <typename Bytes>
constexpr bool kCompares = std::is_const_v<std::remove_pointer_t<Bytes>>;

// The lanes' words go through memory on purpose: left to itself, GCC moves them between vectors
// and lanes with shuffles, the busiest unit in these kernels.

// Lane j's next 8 bytes to words[j], for comparing them as vectors. Done at the start of a round,
// so the copies have left the store buffer by the time the vectors load them.
template <uint32_t kLanes>
VELKOR_INLINE void GatherWords(const uint8_t* bytes, uint64_t laneBytes, uint64_t* words) {
#pragma GCC unroll 32
  for (uint32_t j = 0; j < kLanes; ++j, bytes += laneBytes) std::memcpy(&words[j], bytes, 8);
  __asm__("" : : "m"(*reinterpret_cast<const uint64_t(*)[kLanes]>(words)) : "memory");
}

// words[j] to lane j's next 8 bytes.
template <uint32_t kLanes>
VELKOR_INLINE void ScatterWords(uint8_t* bytes, uint64_t laneBytes, const uint64_t* words) {
  __asm__("" : : "m"(*reinterpret_cast<const uint64_t(*)[kLanes]>(words)) : "memory");
#pragma GCC unroll 32
  for (uint32_t j = 0; j < kLanes; ++j, bytes += laneBytes) std::memcpy(bytes, &words[j], 8);
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

// kLaneBytes, when not 0, is laneBytes as a constant: the lanes' addresses then take no arithmetic.
template <uint64_t kLaneBytes, typename Bytes>
VELKOR_AVX2 VELKOR_INLINE uint64_t Avx2Lanes(Bytes bytes, uint64_t anyLaneBytes, const LaneStartRows& rows,
                                             uint64_t start, uint64_t* diff) {
  const uint64_t laneBytes = kLaneBytes != 0 ? kLaneBytes : anyLaneBytes;
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
  uint64_t words[kAvx2VectorLanes];  // filling: the round's output; comparing: the data
  __m256i differ = _mm256_setzero_si256();
  // The single lane's bytes are compared a round late, once their byte stores have left the store
  // buffer (an 8-byte load of them sooner would wait for that).
  uint8_t singleBytes[2][8] = {};
  uint64_t singleDiffer = 0;
  const auto singleLane = bytes + kAvx2VectorLanes * laneBytes;
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    if constexpr (kCompares<Bytes>) GatherWords<kAvx2VectorLanes>(bytes + t, laneBytes, words);
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
        singleBytes[(t / 8) & 1][k] = static_cast<uint8_t>(single);
      } else {
        singleLane[t + k] = static_cast<uint8_t>(single);
      }
    }
    if constexpr (kCompares<Bytes>) {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) {
        const __m256i data = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words + 4 * v));
        differ = _mm256_or_si256(differ, _mm256_xor_si256(w[v], data));
      }
      if (t != 0) {
        uint64_t expected, data;
        std::memcpy(&expected, singleBytes[((t / 8) & 1) ^ 1], 8);
        std::memcpy(&data, singleLane + t - 8, 8);
        singleDiffer |= data ^ expected;
      }
    } else {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(words + 4 * v), w[v]);
      }
      ScatterWords<kAvx2VectorLanes>(bytes + t, laneBytes, words);
    }
  }
  if constexpr (kCompares<Bytes>) {
    uint64_t expected, data;
    std::memcpy(&expected, singleBytes[((laneBytes / 8) & 1) ^ 1], 8);
    std::memcpy(&data, singleLane + laneBytes - 8, 8);
    singleDiffer |= data ^ expected;
    if (!_mm256_testz_si256(differ, differ) || singleDiffer != 0) *diff |= 1;
  }
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
template <uint64_t kLaneBytes, typename Bytes>
VELKOR_AVX512 VELKOR_INLINE uint64_t Avx512Lanes(Bytes bytes, uint64_t anyLaneBytes, const LaneStartRows& rows,
                                                 uint64_t start, uint64_t* diff) {
  const uint64_t laneBytes = kLaneBytes != 0 ? kLaneBytes : anyLaneBytes;
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
  uint64_t words[kAvx512Lanes];  // filling: the round's output; comparing: the data
  __m512i differ = _mm512_setzero_si512();
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    if constexpr (kCompares<Bytes>) GatherWords<kAvx512Lanes>(bytes + t, laneBytes, words);
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
    if constexpr (kCompares<Bytes>) {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) {
        differ = _mm512_ternarylogic_epi64(differ, w[v], _mm512_loadu_si512(words + 8 * v), 0xF6);  // | (w ^ data)
      }
    } else {
#pragma GCC unroll 4
      for (uint32_t v = 0; v < kVectors; ++v) _mm512_storeu_si512(words + 8 * v, w[v]);
      ScatterWords<kAvx512Lanes>(bytes + t, laneBytes, words);
    }
  }
  if (diff != nullptr && _mm512_test_epi64_mask(differ, differ) != 0) *diff |= 1;
  _mm512_storeu_si512(words, s[kVectors - 1]);
  return words[7];
}

// ---- GFNI: lanes of kMainLaneBytes, each lane's state spread over eight byte planes (byte p of
// plane i is byte i of the state of the lane at position p); a round makes 16 bytes per lane.

constexpr uint32_t kRoundBytes = 16;

// The 8x8 blocks of a round's two matrices in GF2P8AFFINEQB's layout: block (o, i) maps byte i of a
// state to its share of byte o of the result, its row r (the bits of byte i that make bit r) in
// byte 7 - r of the qword.
struct RoundBlocks {
  uint64_t next[8][8];            // the state kRoundBytes steps on
  uint64_t out[kRoundBytes][8];   // the bytes put out on the way
};

constexpr RoundBlocks MakeRoundBlocks() {
  uint64_t next[64] = {}, out[64][2] = {};  // images of state bit c
  for (int c = 0; c < 64; ++c) {
    uint64_t x = uint64_t{1} << c;
    for (uint32_t k = 0; k < kRoundBytes; ++k) {
      x = pattern_detail::Step(x);
      out[c][k / 8] |= (x & 0xFF) << (8 * (k % 8));
    }
    next[c] = x;
  }
  RoundBlocks b{};
  for (uint32_t o = 0; o < kRoundBytes; ++o) {
    for (int i = 0; i < 8; ++i) {
      for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
          const int c = 8 * i + k;
          const int bit = 8 * (7 - r) + k;
          if (o < 8) b.next[o][i] |= ((next[c] >> (8 * o + r)) & 1) << bit;
          b.out[o][i] |= ((out[c][o / 8] >> (8 * (o % 8) + r)) & 1) << bit;
        }
      }
    }
  }
  return b;
}
constexpr RoundBlocks kRoundBlocks = MakeRoundBlocks();

// Lane number = chunk number: the lane of chunk P lives at plane position positionOf[P].
struct PlaneSetup {
  uint8_t startPlanes[64][8][64];  // per state bit: its share of each lane's start, in planes
  uint8_t positionOf[64];
};

// Fills startPlanes for lanes 0 to lanes - 1 from positionOf.
void FillStartPlanes(PlaneSetup* setup, uint32_t lanes) {
  std::vector<uint64_t> rows(64 * lanes);
  LaneJumpRows(kMainLaneBytes, lanes, rows.data());
  std::memset(setup->startPlanes, 0, sizeof setup->startPlanes);
  for (uint32_t bit = 0; bit < 64; ++bit) {
    for (uint32_t lane = 0; lane < lanes; ++lane) {
      for (int i = 0; i < 8; ++i) {
        setup->startPlanes[bit][i][setup->positionOf[lane]] = static_cast<uint8_t>(rows[bit * lanes + lane] >> (8 * i));
      }
    }
  }
}

// AVX-512: byte o of the round's output (kNext false) or of the next state (true), for all 64
// lanes: the XOR of the products of the planes with the row's nonzero blocks.
template <bool kNext>
VELKOR_AVX512_GFNI VELKOR_INLINE __m512i RoundRow(__m512i (&planes)[8], int o) {
  // The barriers keep the rows apart: GCC would otherwise issue every row's products first and
  // spill most of them.
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) __asm__ volatile("" : "+v"(planes[i]));
  __m512i acc = _mm512_setzero_si512();
  bool first = true;
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) {
    const uint64_t block = kNext ? kRoundBlocks.next[o][i] : kRoundBlocks.out[o][i];
    if (block == 0) continue;
    const __m512i product =
        _mm512_gf2p8affine_epi64_epi8(planes[i], _mm512_set1_epi64(static_cast<long long>(block)), 0);
    acc = first ? product : _mm512_xor_si512(acc, product);
    first = false;
  }
  __asm__ volatile("" : "+v"(acc));
  return acc;
}

// Eight byte planes to 64-bit words: byte k of each word from plane k. Works within 128-bit lanes;
// which word holds which position follows from the unpacks (see MapPositions512).
VELKOR_AVX512_GFNI VELKOR_INLINE void PlanesToWords(const __m512i (&o)[8], __m512i (&w)[8]) {
  __m512i a[8], b[8];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    a[2 * p] = _mm512_unpacklo_epi8(o[2 * p], o[2 * p + 1]);
    a[2 * p + 1] = _mm512_unpackhi_epi8(o[2 * p], o[2 * p + 1]);
  }
#pragma GCC unroll 2
  for (int h = 0; h < 2; ++h) {
    b[4 * h] = _mm512_unpacklo_epi16(a[h], a[2 + h]);
    b[4 * h + 1] = _mm512_unpackhi_epi16(a[h], a[2 + h]);
    b[4 * h + 2] = _mm512_unpacklo_epi16(a[4 + h], a[6 + h]);
    b[4 * h + 3] = _mm512_unpackhi_epi16(a[4 + h], a[6 + h]);
  }
#pragma GCC unroll 2
  for (int h = 0; h < 2; ++h) {
#pragma GCC unroll 2
    for (int q = 0; q < 2; ++q) {
      w[4 * h + 2 * q] = _mm512_unpacklo_epi32(b[4 * h + q], b[4 * h + 2 + q]);
      w[4 * h + 2 * q + 1] = _mm512_unpackhi_epi32(b[4 * h + q], b[4 * h + 2 + q]);
    }
  }
}

// Vector v of a round's 16-byte lane chunks (chunks 4v to 4v + 3), from the words of output bytes
// 0-7 (low) and 8-15 (high).
VELKOR_AVX512_GFNI VELKOR_INLINE __m512i ChunkVector(const __m512i (&low)[8], const __m512i (&high)[8], int v) {
  return (v & 1) ? _mm512_unpackhi_epi64(low[v / 2], high[v / 2]) : _mm512_unpacklo_epi64(low[v / 2], high[v / 2]);
}

// Which position's bytes land in which chunk: planes whose bytes are their own positions, sent
// through the network.
VELKOR_AVX512_GFNI void MapPositions512(uint8_t* positionOf) {
  uint8_t position[64];
  for (int p = 0; p < 64; ++p) position[p] = static_cast<uint8_t>(p);
  __m512i planes[8], words[8];
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) planes[k] = _mm512_loadu_si512(position);
  PlanesToWords(planes, words);
  uint8_t chunks[kAvx512GfniLanes][16];
#pragma GCC unroll 16
  for (int v = 0; v < 16; ++v) _mm512_storeu_si512(chunks[4 * v], ChunkVector(words, words, v));
  for (uint32_t lane = 0; lane < kAvx512GfniLanes; ++lane) positionOf[lane] = chunks[lane][0];
}

const PlaneSetup& Avx512GfniSetup() {
  static const PlaneSetup* const setup = [] {
    auto* built = new PlaneSetup;
    MapPositions512(built->positionOf);
    FillStartPlanes(built, kAvx512GfniLanes);
    return built;
  }();
  return *setup;
}

template <typename Bytes>
VELKOR_AVX512_GFNI VELKOR_INLINE uint64_t Avx512GfniLanes(Bytes bytes, uint64_t start, uint64_t* diff) {
  constexpr uint64_t kLaneBytes = kMainLaneBytes;
  static_assert(kLaneBytes % kRoundBytes == 0);
  const PlaneSetup& setup = Avx512GfniSetup();
  __m512i planes[8];
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) planes[i] = _mm512_setzero_si512();
  for (uint64_t bits = start; bits != 0; bits &= bits - 1) {
    const uint8_t(&share)[8][64] = setup.startPlanes[__builtin_ctzll(bits)];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) planes[i] = _mm512_xor_si512(planes[i], _mm512_loadu_si512(share[i]));
  }
  uint8_t chunks[kAvx512GfniLanes][16];  // filling: the round's output; comparing: the data
  __m512i differ = _mm512_setzero_si512();
  for (uint64_t t = 0; t < kLaneBytes; t += kRoundBytes) {
    if constexpr (kCompares<Bytes>) {
#pragma GCC unroll 64
      for (uint32_t lane = 0; lane < kAvx512GfniLanes; ++lane) {
        std::memcpy(chunks[lane], bytes + lane * kLaneBytes + t, 16);
      }
      __asm__("" : : "m"(chunks) : "memory");
    }
    __m512i low[8], high[8];
    {
      __m512i o[8];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) o[k] = RoundRow<false>(planes, k);
      PlanesToWords(o, low);
    }
    {
      __m512i o[8];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) o[k] = RoundRow<false>(planes, 8 + k);
      PlanesToWords(o, high);
    }
#pragma GCC unroll 16
    for (int v = 0; v < 16; ++v) {
      const __m512i chunk = ChunkVector(low, high, v);
      if constexpr (kCompares<Bytes>) {
        differ = _mm512_ternarylogic_epi64(differ, chunk, _mm512_loadu_si512(chunks[4 * v]), 0xF6);  // | (c ^ data)
      } else {
        _mm512_storeu_si512(chunks[4 * v], chunk);
      }
    }
    {
      __m512i next[8];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) next[k] = RoundRow<true>(planes, k);
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) planes[k] = next[k];
    }
    if constexpr (!kCompares<Bytes>) {
      __asm__("" : : "m"(chunks) : "memory");
#pragma GCC unroll 64
      for (uint32_t lane = 0; lane < kAvx512GfniLanes; ++lane) {
        std::memcpy(bytes + lane * kLaneBytes + t, chunks[lane], 16);
      }
    }
  }
  if (diff != nullptr && _mm512_test_epi64_mask(differ, differ) != 0) *diff |= 1;
  uint8_t last[8][64];
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) _mm512_storeu_si512(last[i], planes[i]);
  const uint8_t position = setup.positionOf[kAvx512GfniLanes - 1];
  uint64_t state = 0;
  for (int i = 0; i < 8; ++i) state |= uint64_t{last[i][position]} << (8 * i);
  return state;
}

// AVX2: the same rounds on 32 lanes in 256-bit planes. Sixteen registers hold the planes and a
// row's sums but not a round's results, so those go through memory.

template <bool kNext>
VELKOR_AVX2_GFNI VELKOR_INLINE __m256i RoundRow256(__m256i (&planes)[8], int o) {
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) __asm__ volatile("" : "+x"(planes[i]));
  __m256i acc = _mm256_setzero_si256();
  bool first = true;
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) {
    const uint64_t block = kNext ? kRoundBlocks.next[o][i] : kRoundBlocks.out[o][i];
    if (block == 0) continue;
    const __m256i product =
        _mm256_gf2p8affine_epi64_epi8(planes[i], _mm256_set1_epi64x(static_cast<long long>(block)), 0);
    acc = first ? product : _mm256_xor_si256(acc, product);
    first = false;
  }
  __asm__ volatile("" : "+x"(acc));
  return acc;
}

VELKOR_AVX2_GFNI VELKOR_INLINE void PlanesToWords256(const __m256i (&o)[8], __m256i (&w)[8]) {
  __m256i a[8], b[8];
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    a[2 * p] = _mm256_unpacklo_epi8(o[2 * p], o[2 * p + 1]);
    a[2 * p + 1] = _mm256_unpackhi_epi8(o[2 * p], o[2 * p + 1]);
  }
#pragma GCC unroll 2
  for (int h = 0; h < 2; ++h) {
    b[4 * h] = _mm256_unpacklo_epi16(a[h], a[2 + h]);
    b[4 * h + 1] = _mm256_unpackhi_epi16(a[h], a[2 + h]);
    b[4 * h + 2] = _mm256_unpacklo_epi16(a[4 + h], a[6 + h]);
    b[4 * h + 3] = _mm256_unpackhi_epi16(a[4 + h], a[6 + h]);
  }
#pragma GCC unroll 2
  for (int h = 0; h < 2; ++h) {
#pragma GCC unroll 2
    for (int q = 0; q < 2; ++q) {
      w[4 * h + 2 * q] = _mm256_unpacklo_epi32(b[4 * h + q], b[4 * h + 2 + q]);
      w[4 * h + 2 * q + 1] = _mm256_unpackhi_epi32(b[4 * h + q], b[4 * h + 2 + q]);
    }
  }
}

// Vector v of a round's lane chunks (chunks 2v and 2v + 1).
VELKOR_AVX2_GFNI VELKOR_INLINE __m256i ChunkVector256(__m256i low, __m256i high, int v) {
  return (v & 1) ? _mm256_unpackhi_epi64(low, high) : _mm256_unpacklo_epi64(low, high);
}

VELKOR_AVX2_GFNI void MapPositions256(uint8_t* positionOf) {
  uint8_t position[32];
  for (int p = 0; p < 32; ++p) position[p] = static_cast<uint8_t>(p);
  __m256i planes[8], words[8];
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) planes[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(position));
  PlanesToWords256(planes, words);
  uint8_t chunks[kAvx2GfniLanes][16];
#pragma GCC unroll 16
  for (int v = 0; v < 16; ++v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chunks[2 * v]), ChunkVector256(words[v / 2], words[v / 2], v));
  }
  for (uint32_t lane = 0; lane < kAvx2GfniLanes; ++lane) positionOf[lane] = chunks[lane][0];
}

const PlaneSetup& Avx2GfniSetup() {
  static const PlaneSetup* const setup = [] {
    auto* built = new PlaneSetup;
    MapPositions256(built->positionOf);
    FillStartPlanes(built, kAvx2GfniLanes);
    return built;
  }();
  return *setup;
}

template <typename Bytes>
VELKOR_AVX2_GFNI VELKOR_INLINE uint64_t Avx2GfniLanes(Bytes bytes, uint64_t start, uint64_t* diff) {
  constexpr uint64_t kLaneBytes = kMainLaneBytes;
  const PlaneSetup& setup = Avx2GfniSetup();
  __m256i planes[8];
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) planes[i] = _mm256_setzero_si256();
  for (uint64_t bits = start; bits != 0; bits &= bits - 1) {
    const uint8_t(&share)[8][64] = setup.startPlanes[__builtin_ctzll(bits)];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) {
      planes[i] = _mm256_xor_si256(planes[i], _mm256_loadu_si256(reinterpret_cast<const __m256i*>(share[i])));
    }
  }
  uint8_t outPlanes[kRoundBytes][32], nextPlanes[8][32], lowWords[8][32];
  uint8_t chunks[kAvx2GfniLanes][16];  // filling: the round's output; comparing: the data
  __m256i differ = _mm256_setzero_si256();
  for (uint64_t t = 0; t < kLaneBytes; t += kRoundBytes) {
    if constexpr (kCompares<Bytes>) {
#pragma GCC unroll 32
      for (uint32_t lane = 0; lane < kAvx2GfniLanes; ++lane) {
        std::memcpy(chunks[lane], bytes + lane * kLaneBytes + t, 16);
      }
    }
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(nextPlanes[k]), RoundRow256<true>(planes, k));
    }
#pragma GCC unroll 16
    for (uint32_t k = 0; k < kRoundBytes; ++k) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(outPlanes[k]), RoundRow256<false>(planes, k));
    }
    __asm__("" : : "m"(outPlanes), "m"(nextPlanes), "m"(chunks) : "memory");
    {
      __m256i o[8], words[8];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) o[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(outPlanes[k]));
      PlanesToWords256(o, words);
#pragma GCC unroll 8
      for (int q = 0; q < 8; ++q) _mm256_storeu_si256(reinterpret_cast<__m256i*>(lowWords[q]), words[q]);
    }
    __asm__("" : : "m"(lowWords) : "memory");
    {
      __m256i o[8], high[8];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) o[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(outPlanes[8 + k]));
      PlanesToWords256(o, high);
#pragma GCC unroll 16
      for (int v = 0; v < 16; ++v) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lowWords[v / 2]));
        const __m256i chunk = ChunkVector256(low, high[v / 2], v);
        auto* at = reinterpret_cast<__m256i*>(chunks[2 * v]);
        if constexpr (kCompares<Bytes>) {
          differ = _mm256_or_si256(differ, _mm256_xor_si256(chunk, _mm256_loadu_si256(at)));
        } else {
          _mm256_storeu_si256(at, chunk);
        }
      }
    }
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) planes[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(nextPlanes[k]));
    if constexpr (!kCompares<Bytes>) {
      __asm__("" : : "m"(chunks) : "memory");
#pragma GCC unroll 32
      for (uint32_t lane = 0; lane < kAvx2GfniLanes; ++lane) {
        std::memcpy(bytes + lane * kLaneBytes + t, chunks[lane], 16);
      }
    }
  }
  if (diff != nullptr && !_mm256_testz_si256(differ, differ)) *diff |= 1;
  const uint8_t position = setup.positionOf[kAvx2GfniLanes - 1];
  uint64_t state = 0;
  for (int i = 0; i < 8; ++i) state |= uint64_t{nextPlanes[i][position]} << (8 * i);
  return state;
}

}  // namespace

VELKOR_AVX2 uint64_t FillLanesAvx2(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s) {
  return laneBytes == kMainLaneBytes ? Avx2Lanes<kMainLaneBytes>(out, laneBytes, rows, s, nullptr)
                                     : Avx2Lanes<0>(out, laneBytes, rows, s, nullptr);
}

VELKOR_AVX2 uint64_t CompareLanesAvx2(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                                      uint64_t* diff) {
  return laneBytes == kMainLaneBytes ? Avx2Lanes<kMainLaneBytes>(in, laneBytes, rows, s, diff)
                                     : Avx2Lanes<0>(in, laneBytes, rows, s, diff);
}

VELKOR_AVX512 uint64_t FillLanesAvx512(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s) {
  return laneBytes == kMainLaneBytes ? Avx512Lanes<kMainLaneBytes>(out, laneBytes, rows, s, nullptr)
                                     : Avx512Lanes<0>(out, laneBytes, rows, s, nullptr);
}

VELKOR_AVX512 uint64_t CompareLanesAvx512(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows,
                                          uint64_t s, uint64_t* diff) {
  return laneBytes == kMainLaneBytes ? Avx512Lanes<kMainLaneBytes>(in, laneBytes, rows, s, diff)
                                     : Avx512Lanes<0>(in, laneBytes, rows, s, diff);
}

VELKOR_AVX2_GFNI uint64_t FillLanesAvx2Gfni(uint8_t* out, uint64_t s) { return Avx2GfniLanes(out, s, nullptr); }

VELKOR_AVX2_GFNI uint64_t CompareLanesAvx2Gfni(const uint8_t* in, uint64_t s, uint64_t* diff) {
  return Avx2GfniLanes(in, s, diff);
}

VELKOR_AVX512_GFNI uint64_t FillLanesAvx512Gfni(uint8_t* out, uint64_t s) { return Avx512GfniLanes(out, s, nullptr); }

VELKOR_AVX512_GFNI uint64_t CompareLanesAvx512Gfni(const uint8_t* in, uint64_t s, uint64_t* diff) {
  return Avx512GfniLanes(in, s, diff);
}

}  // namespace velkor::pattern_detail
