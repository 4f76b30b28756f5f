// The test pattern: a byte sequence that depends only on the seed and the block index, so any
// block can be regenerated for verification without storing anything.
#pragma once

#include <cstdint>

namespace velkor {

// Writes the block's pattern: a 64-bit xorshift (13, 7, 17) seeded with
// seed XOR (blockIndex + 0x9E3779B97F4A7C15), one step per byte, each byte the low 8 bits of the
// state. Allocates nothing and touches no shared state; uses the fastest generator of this CPU.
void FillPattern(void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex);

// The same bytes, one generator step at a time: the definition the fast generators are held to.
void FillPatternReference(void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex);

// True when data holds exactly the block's pattern. Generates and compares in one pass: the
// expected bytes never go to memory, and the caller needs no second block-sized buffer.
bool MatchesPattern(const void* data, uint64_t length, uint64_t seed, uint64_t blockIndex);

// The generator state before a block's first byte.
uint64_t PatternStartState(uint64_t seed, uint64_t blockIndex);

// Continues a pattern from *state: writes the next length bytes and advances *state past them, so
// a block can be produced in pieces.
void NextPatternBytes(uint64_t* state, void* buffer, uint64_t length);

// The generator implementations. The stream is split into independent lanes (jumped ahead with
// precomputed powers of the generator's bit matrix) that run side by side in vector registers. The
// GFNI paths take 16 generator steps as one bit-matrix product per lane.
enum class PatternPath : uint8_t {
  kPortable,     // the compiler's generic vectors (SSE2 on x86-64), several lanes per loop
  kAvx2,
  kAvx2Gfni,     // AVX2 and GFNI
  kAvx512,       // AVX-512 F and BW
  kAvx512Gfni,   // and GFNI
};

// Whether this CPU (and the system) can run the path. kPortable is always supported.
bool PatternPathSupported(PatternPath path);

// The path FillPattern and friends use: the fastest supported one (GFNI first, then the wider
// vectors), chosen once.
PatternPath SelectedPatternPath();

// "portable", "avx2", "avx2gfni", "avx512", "avx512gfni".
const char* PatternPathName(PatternPath path);

// FillPattern on a given path, for tests and benchmarks. REQUIRES: PatternPathSupported(path).
void FillPatternOn(PatternPath path, void* buffer, uint64_t length, uint64_t seed, uint64_t blockIndex);

// NextPatternBytes on a given path. REQUIRES: PatternPathSupported(path).
void NextPatternBytesOn(PatternPath path, uint64_t* state, void* buffer, uint64_t length);

// MatchesPattern on a given path. REQUIRES: PatternPathSupported(path).
bool MatchesPatternOn(PatternPath path, const void* data, uint64_t length, uint64_t seed, uint64_t blockIndex);

}  // namespace velkor
