#include "engine/pattern_origin.h"

#include <algorithm>
#include <cstring>

#include "engine/pattern.h"
#include "engine/pattern_lanes.h"

namespace velkor {
namespace {

constexpr int kBytes = 16;          // pattern bytes used to find the state
constexpr int kEquations = kBytes * 8;

// A 64x64 bit matrix over GF(2), by columns: column i is the image of bit i.
struct BitMatrix {
  uint64_t column[64];
};

uint64_t Apply(const BitMatrix& m, uint64_t v) {
  uint64_t r = 0;
  for (int i = 0; i < 64; ++i) r ^= m.column[i] & (0 - ((v >> i) & 1));
  return r;
}

BitMatrix Multiply(const BitMatrix& a, const BitMatrix& b) {
  BitMatrix c;
  for (int i = 0; i < 64; ++i) c.column[i] = Apply(a, b.column[i]);
  return c;
}

// One generator step undone: each x ^= x << a (or >> a) is undone by XOR-ing all its multiples.
uint64_t UndoStep(uint64_t y) {
  auto undoLeft = [](uint64_t v, int a) {
    uint64_t x = v;
    for (int s = a; s < 64; s += a) x ^= v << s;
    return x;
  };
  auto undoRight = [](uint64_t v, int a) {
    uint64_t x = v;
    for (int s = a; s < 64; s += a) x ^= v >> s;
    return x;
  };
  return undoLeft(undoRight(undoLeft(y, 17), 7), 13);
}

// The matrix that takes the state at stream position p + kOriginStep back to position p.
BitMatrix BackOneStepOfOrigin() {
  BitMatrix result, power;
  for (int i = 0; i < 64; ++i) {
    result.column[i] = uint64_t{1} << i;
    power.column[i] = UndoStep(uint64_t{1} << i);
  }
  for (uint64_t n = kOriginStep; n != 0; n >>= 1) {
    if (n & 1) result = Multiply(power, result);
    power = Multiply(power, power);
  }
  return result;
}

// Equation r (bit r % 8 of byte r / 8): which state bits it XORs.
struct Equations {
  uint64_t row[kEquations];
};

Equations BuildEquations() {
  Equations e{};
  for (int j = 0; j < 64; ++j) {
    uint64_t s = uint64_t{1} << j;
    for (int i = 0; i < kBytes; ++i) {
      s = pattern_detail::Step(s);
      for (int b = 0; b < 8; ++b) {
        if ((s >> b) & 1) e.row[i * 8 + b] |= uint64_t{1} << j;
      }
    }
  }
  return e;
}

// The state before data's first byte, by Gaussian elimination; false when the bytes fix none.
bool SolveState(const uint8_t* data, uint64_t* state) {
  static const Equations equations = BuildEquations();
  uint64_t row[kEquations];
  uint8_t rhs[kEquations];
  for (int r = 0; r < kEquations; ++r) {
    row[r] = equations.row[r];
    rhs[r] = (data[r / 8] >> (r % 8)) & 1;
  }
  int pivotRow[64];
  int rank = 0;
  for (int j = 0; j < 64; ++j) {
    int p = rank;
    while (p < kEquations && !((row[p] >> j) & 1)) ++p;
    if (p == kEquations) return false;
    std::swap(row[p], row[rank]);
    std::swap(rhs[p], rhs[rank]);
    for (int r = 0; r < kEquations; ++r) {
      if (r != rank && ((row[r] >> j) & 1)) {
        row[r] ^= row[rank];
        rhs[r] ^= rhs[rank];
      }
    }
    pivotRow[j] = rank++;
  }
  uint64_t x = 0;
  for (int j = 0; j < 64; ++j) x |= uint64_t{rhs[pivotRow[j]]} << j;
  // The other equations must hold too, or the bytes are no pattern at all.
  uint64_t s = x;
  for (int i = 0; i < kBytes; ++i) {
    s = pattern_detail::Step(s);
    if (static_cast<uint8_t>(s) != data[i]) return false;
  }
  *state = x;
  return true;
}

}  // namespace

bool FindPatternOrigin(const uint8_t* data, uint64_t length, uint64_t seed, uint64_t indexCount, uint32_t blockSize,
                       PatternOrigin* origin) {
  if (length < kBytes) return false;
  uint64_t state = 0;
  if (!SolveState(data, &state)) return false;
  static const BitMatrix back = BackOneStepOfOrigin();
  const uint64_t limit = std::min<uint64_t>(blockSize, kOriginSearchBytes);
  for (uint64_t offset = 0; offset < limit; offset += kOriginStep) {
    const uint64_t index = (state ^ seed) - pattern_detail::kGoldenRatio;
    if (index < indexCount) {
      origin->index = index;
      origin->offset = offset;
      return true;
    }
    state = Apply(back, state);
  }
  return false;
}

}  // namespace velkor
