#include "engine/pattern.h"

#include <cstring>
#include <initializer_list>
#include <type_traits>

#include "engine/pattern_lanes.h"

namespace velkor {
namespace pattern_detail {
namespace {

// A 64x64 bit matrix over GF(2), by columns: column i is the image of bit i.
struct BitMatrix {
  uint64_t column[64];
};

uint64_t Apply(const BitMatrix& m, uint64_t v) {
  uint64_t r0 = 0, r1 = 0;
  for (int i = 0; i < 64; i += 2) {
    r0 ^= m.column[i] & (0 - ((v >> i) & 1));
    r1 ^= m.column[i + 1] & (0 - ((v >> (i + 1)) & 1));
  }
  return r0 ^ r1;
}

BitMatrix Multiply(const BitMatrix& a, const BitMatrix& b) {
  BitMatrix c;
  for (int i = 0; i < 64; ++i) c.column[i] = Apply(a, b.column[i]);
  return c;
}

// M^n by squaring.
BitMatrix StepPower(uint64_t n) {
  BitMatrix result, power;
  for (int i = 0; i < 64; ++i) {
    result.column[i] = uint64_t{1} << i;
    power.column[i] = Step(uint64_t{1} << i);
  }
  for (; n != 0; n >>= 1) {
    if (n & 1) result = Multiply(power, result);
    power = Multiply(power, power);
  }
  return result;
}

// The compiler's generic vectors: SSE2 on x86-64, plain registers elsewhere.
typedef uint64_t U64x2 __attribute__((vector_size(16)));
constexpr uint32_t kPortableVectors = kPortableLanes / 2;

// The portable kernel, filling when Bytes is writable and comparing when it is const.
template <typename Bytes>
uint64_t PortableLanes(Bytes bytes, uint64_t laneBytes, const LaneStartRows& rows, uint64_t start, uint64_t* diff) {
  constexpr uint32_t kVectors = kPortableVectors;
  U64x2 s[kVectors] = {};
  for (uint64_t bits = start; bits != 0; bits &= bits - 1) {
    const uint64_t* row = rows.row[__builtin_ctzll(bits)];
    for (uint32_t v = 0; v < kVectors; ++v) {
      U64x2 r;
      std::memcpy(&r, row + 2 * v, sizeof r);
      s[v] ^= r;
    }
  }
  uint64_t acc = 0;
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    U64x2 w[kVectors];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
#pragma GCC unroll 8
      for (uint32_t v = 0; v < kVectors; ++v) {
        U64x2 x = s[v];
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        s[v] = x;
        // Little-endian: the byte of step k lands at t + k.
        if (k == 0) {
          w[v] = x & 0xFF;
        } else if (k == 7) {
          w[v] |= x << 56;
        } else {
          w[v] |= (x & 0xFF) << (8 * k);
        }
      }
    }
    uint64_t word[kPortableLanes];
    std::memcpy(word, w, sizeof word);
#pragma GCC unroll 16
    for (uint32_t j = 0; j < kPortableLanes; ++j) {
      if constexpr (std::is_const_v<std::remove_pointer_t<Bytes>>) {
        uint64_t data;
        std::memcpy(&data, bytes + j * laneBytes + t, 8);
        acc |= data ^ word[j];
      } else {
        std::memcpy(bytes + j * laneBytes + t, &word[j], 8);
      }
    }
  }
  if (diff != nullptr) *diff |= acc;
  return s[kVectors - 1][1];
}

}  // namespace

void LaneJumpRows(uint64_t laneBytes, uint32_t lanes, uint64_t* rows) {
  const BitMatrix jump = StepPower(laneBytes);
  for (int i = 0; i < 64; ++i) {
    uint64_t v = uint64_t{1} << i;
    for (uint32_t j = 0; j < lanes; ++j) {
      rows[i * lanes + j] = v;
      v = Apply(jump, v);
    }
  }
}

const LaneStartRows& LaneStartRowsOf(uint32_t laneClass) {
  static const LaneStartRows* const tables = [] {
    auto* t = new LaneStartRows[kLaneClasses];
    for (uint32_t c = 0; c < kLaneClasses; ++c) LaneJumpRows(LaneBytesOfClass(c), kMaxLanes, &t[c].row[0][0]);
    return t;
  }();
  return tables[laneClass];
}

uint64_t FillLanesPortable(uint8_t* out, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s) {
  return PortableLanes(out, laneBytes, rows, s, nullptr);
}

uint64_t CompareLanesPortable(const uint8_t* in, uint64_t laneBytes, const LaneStartRows& rows, uint64_t s,
                              uint64_t* diff) {
  return PortableLanes(in, laneBytes, rows, s, diff);
}

}  // namespace pattern_detail

namespace {
using namespace pattern_detail;

// A path's kernels: the GFNI kernel for runs of its main-length lanes (none on paths without), then
// the stepping kernel for the other lengths and for paths without GFNI.
struct PathKernels {
  uint64_t (*matrixFill)(uint8_t*, uint64_t);
  uint64_t (*matrixCompare)(const uint8_t*, uint64_t, uint64_t*);
  uint32_t matrixLanes;
  uint64_t (*fill)(uint8_t*, uint64_t, const LaneStartRows&, uint64_t);
  uint64_t (*compare)(const uint8_t*, uint64_t, const LaneStartRows&, uint64_t, uint64_t*);
  uint32_t lanes;
};

PathKernels KernelsOf(PatternPath path) {
  switch (path) {
    case PatternPath::kAvx512Gfni:
      return {FillLanesAvx512Gfni, CompareLanesAvx512Gfni, kAvx512GfniLanes,
              FillLanesAvx512,     CompareLanesAvx512,     kAvx512Lanes};
    case PatternPath::kAvx512: return {nullptr, nullptr, 0, FillLanesAvx512, CompareLanesAvx512, kAvx512Lanes};
    case PatternPath::kAvx2Gfni:
      return {FillLanesAvx2Gfni, CompareLanesAvx2Gfni, kAvx2GfniLanes, FillLanesAvx2, CompareLanesAvx2, kAvx2Lanes};
    case PatternPath::kAvx2: return {nullptr, nullptr, 0, FillLanesAvx2, CompareLanesAvx2, kAvx2Lanes};
    default: return {nullptr, nullptr, 0, FillLanesPortable, CompareLanesPortable, kPortableLanes};
  }
}

// Fills (Bytes writable) or compares (Bytes const, differences ORed into *diff) length bytes of
// the stream from state s: runs of the GFNI kernel's main-length lanes first where the path has
// one; then runs of K lanes while at least K * 8 bytes are left (the longest lane class that fits),
// then single steps for the rest. A compare stops after the first run that differs. Returns the
// state after the last byte handled.
template <typename Bytes>
uint64_t Walk(PatternPath path, Bytes bytes, uint64_t length, uint64_t s, uint64_t* diff) {
  constexpr bool kCompare = std::is_const_v<std::remove_pointer_t<Bytes>>;
  const PathKernels kernels = KernelsOf(path);
  uint64_t done = 0;
  if (kernels.matrixLanes != 0) {
    const uint64_t runBytes = kernels.matrixLanes * kMainLaneBytes;
    for (; length - done >= runBytes; done += runBytes) {
      if constexpr (kCompare) {
        s = kernels.matrixCompare(bytes + done, s, diff);
        if (*diff != 0) return s;
      } else {
        s = kernels.matrixFill(bytes + done, s);
      }
    }
  }
  uint32_t laneClass = kLaneClasses - 1;
  for (;;) {
    const uint64_t laneBytes = LaneBytesOfClass(laneClass);
    const uint64_t runBytes = laneBytes * kernels.lanes;
    if (length - done >= runBytes) {
      const LaneStartRows& rows = LaneStartRowsOf(laneClass);
      if constexpr (kCompare) {
        s = kernels.compare(bytes + done, laneBytes, rows, s, diff);
        if (*diff != 0) return s;
      } else {
        s = kernels.fill(bytes + done, laneBytes, rows, s);
      }
      done += runBytes;
    } else if (laneClass == 0) {
      break;
    } else {
      --laneClass;
    }
  }
  for (; done < length; ++done) {
    s = Step(s);
    if constexpr (kCompare) {
      *diff |= bytes[done] ^ static_cast<uint8_t>(s);
    } else {
      bytes[done] = static_cast<uint8_t>(s);
    }
  }
  return s;
}

// What this CPU (and its system) can run, looked at once.
struct CpuPaths {
  bool avx2, avx2Gfni, avx512, avx512Gfni;
};

CpuPaths DetectPaths() {
  __builtin_cpu_init();
  CpuPaths cpu{};
  const bool gfni = __builtin_cpu_supports("gfni");
  cpu.avx2 = __builtin_cpu_supports("avx2");
  cpu.avx2Gfni = cpu.avx2 && gfni;
  cpu.avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
  cpu.avx512Gfni = cpu.avx512 && gfni;
  return cpu;
}

const CpuPaths& Cpu() {
  static const CpuPaths cpu = DetectPaths();
  return cpu;
}

}  // namespace

uint64_t PatternStartState(uint64_t seed, uint64_t blockIndex) {
  return seed ^ (blockIndex + kGoldenRatio);
}

void FillPatternReference(void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  auto* out = static_cast<uint8_t*>(buffer);
  uint64_t s = PatternStartState(seed, blockIndex);
  for (uint64_t i = 0; i < length; ++i) {
    s = Step(s);
    out[i] = static_cast<uint8_t>(s);
  }
}

bool PatternPathSupported(PatternPath path) {
  switch (path) {
    case PatternPath::kAvx512Gfni: return Cpu().avx512Gfni;
    case PatternPath::kAvx512: return Cpu().avx512;
    case PatternPath::kAvx2Gfni: return Cpu().avx2Gfni;
    case PatternPath::kAvx2: return Cpu().avx2;
    default: return true;
  }
}

PatternPath SelectedPatternPath() {
  static const PatternPath path = [] {
    for (PatternPath p : {PatternPath::kAvx512Gfni, PatternPath::kAvx2Gfni, PatternPath::kAvx512, PatternPath::kAvx2}) {
      if (PatternPathSupported(p)) return p;
    }
    return PatternPath::kPortable;
  }();
  return path;
}

const char* PatternPathName(PatternPath path) {
  switch (path) {
    case PatternPath::kAvx512Gfni: return "avx512gfni";
    case PatternPath::kAvx512: return "avx512";
    case PatternPath::kAvx2Gfni: return "avx2gfni";
    case PatternPath::kAvx2: return "avx2";
    default: return "portable";
  }
}

void NextPatternBytesOn(PatternPath path, uint64_t* state, void* buffer, uint64_t length) {
  *state = Walk(path, static_cast<uint8_t*>(buffer), length, *state, nullptr);
}

void NextPatternBytes(uint64_t* state, void* buffer, uint64_t length) {
  NextPatternBytesOn(SelectedPatternPath(), state, buffer, length);
}

void FillPatternOn(PatternPath path, void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  uint64_t state = PatternStartState(seed, blockIndex);
  NextPatternBytesOn(path, &state, buffer, length);
}

void FillPattern(void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  FillPatternOn(SelectedPatternPath(), buffer, length, seed, blockIndex);
}

bool MatchesPatternOn(PatternPath path, const void* data, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  uint64_t diff = 0;
  Walk(path, static_cast<const uint8_t*>(data), length, PatternStartState(seed, blockIndex), &diff);
  return diff == 0;
}

bool MatchesPattern(const void* data, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  return MatchesPatternOn(SelectedPatternPath(), data, length, seed, blockIndex);
}

}  // namespace velkor
