#include "engine/pattern.h"

#include <cstring>

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

// start[c][i][j] = M^(j * LaneBytesOfClass(c)) applied to bit i: the lane starts of any state are
// XORs of these rows over the state's set bits.
struct LaneStartTable {
  uint64_t start[kLaneClasses][64][kMaxLanes];
};

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

const LaneStartTable& LaneStartTables() {
  static const LaneStartTable* const table = [] {
    auto* t = new LaneStartTable;
    for (uint32_t c = 0; c < kLaneClasses; ++c) {
      const BitMatrix jump = StepPower(LaneBytesOfClass(c));
      for (int i = 0; i < 64; ++i) {
        uint64_t v = uint64_t{1} << i;
        for (uint32_t j = 0; j < kMaxLanes; ++j) {
          t->start[c][i][j] = v;
          v = Apply(jump, v);
        }
      }
    }
    return t;
  }();
  return *table;
}

}  // namespace

void LaneStarts(uint64_t s, uint32_t laneClass, uint32_t lanes, uint64_t* states) {
  const auto& rows = LaneStartTables().start[laneClass];
  uint64_t acc[kMaxLanes] = {};
  while (s != 0) {
    const int i = __builtin_ctzll(s);
    s &= s - 1;
    for (uint32_t j = 0; j < kMaxLanes; ++j) acc[j] ^= rows[i][j];
  }
  std::memcpy(states, acc, lanes * sizeof(uint64_t));
}

uint64_t RunLanesPortable(uint8_t* out, uint64_t laneBytes, const uint64_t* states) {
  constexpr uint32_t kLanes = kPortableLanes;
  uint64_t s[kLanes];
  std::memcpy(s, states, sizeof s);
  for (uint64_t t = 0; t < laneBytes; t += 8) {
    uint64_t word[kLanes] = {};
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
#pragma GCC unroll 8
      for (uint32_t j = 0; j < kLanes; ++j) {
        s[j] = Step(s[j]);
        word[j] |= (s[j] & 0xFF) << (8 * k);
      }
    }
    // Little-endian: the byte of step k lands at t + k.
#pragma GCC unroll 8
    for (uint32_t j = 0; j < kLanes; ++j) std::memcpy(out + j * laneBytes + t, &word[j], 8);
  }
  return s[kLanes - 1];
}

}  // namespace pattern_detail

namespace {
using namespace pattern_detail;

struct PathKernel {
  uint64_t (*run)(uint8_t*, uint64_t, const uint64_t*);
  uint32_t lanes;
};

PathKernel KernelOf(PatternPath path) {
  switch (path) {
    case PatternPath::kAvx512: return {RunLanesAvx512, kAvx512Lanes};
    case PatternPath::kAvx2: return {RunLanesAvx2, kAvx2Lanes};
    default: return {RunLanesPortable, kPortableLanes};
  }
}

// Runs of K lanes while at least K * 8 bytes are left (the longest lane class that fits), then
// single steps for the rest.
uint64_t Generate(PatternPath path, uint8_t* out, uint64_t length, uint64_t s) {
  const PathKernel kernel = KernelOf(path);
  uint64_t states[kMaxLanes];
  uint64_t done = 0;
  uint32_t laneClass = kLaneClasses - 1;
  for (;;) {
    const uint64_t laneBytes = LaneBytesOfClass(laneClass);
    const uint64_t runBytes = laneBytes * kernel.lanes;
    if (length - done >= runBytes) {
      LaneStarts(s, laneClass, kernel.lanes, states);
      s = kernel.run(out + done, laneBytes, states);
      done += runBytes;
    } else if (laneClass == 0) {
      break;
    } else {
      --laneClass;
    }
  }
  for (; done < length; ++done) {
    s = Step(s);
    out[done] = static_cast<uint8_t>(s);
  }
  return s;
}

PatternPath DetectPath() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
    return PatternPath::kAvx512;
  }
  if (__builtin_cpu_supports("avx2")) return PatternPath::kAvx2;
  return PatternPath::kPortable;
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
  return static_cast<uint8_t>(path) <= static_cast<uint8_t>(SelectedPatternPath());
}

PatternPath SelectedPatternPath() {
  static const PatternPath path = DetectPath();
  return path;
}

const char* PatternPathName(PatternPath path) {
  switch (path) {
    case PatternPath::kAvx512: return "avx512";
    case PatternPath::kAvx2: return "avx2";
    default: return "portable";
  }
}

void NextPatternBytesOn(PatternPath path, uint64_t* state, void* buffer, uint64_t length) {
  *state = Generate(path, static_cast<uint8_t*>(buffer), length, *state);
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

bool MatchesPattern(const void* data, uint64_t length, uint64_t seed, uint64_t blockIndex) {
  // One run of the widest kernel's longest lanes: it stays in the first-level cache.
  constexpr uint64_t kPiece = kMaxLanes * kMainLaneBytes;
  uint8_t expected[kPiece];
  const auto* bytes = static_cast<const uint8_t*>(data);
  uint64_t state = PatternStartState(seed, blockIndex);
  for (uint64_t done = 0; done < length;) {
    const uint64_t piece = length - done < kPiece ? length - done : kPiece;
    NextPatternBytes(&state, expected, piece);
    if (std::memcmp(bytes + done, expected, piece) != 0) return false;
    done += piece;
  }
  return true;
}

}  // namespace velkor
