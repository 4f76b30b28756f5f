// What a verify-only run takes from the test files an earlier run left: the block size they were
// written with and their size, where the settings differ from them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_config.h"

namespace velkor {

// Block sizes are looked for at every KiB from 4 KiB up to this; powers of two beyond it too.
inline constexpr uint64_t kBlockSearchLimit = 67108864;

// The block size path was written with: the offset at which block 1's pattern begins (block 0's
// pattern must begin the file). hint is tried first. 0 when the content shows none (not a test
// file, or a medium that lost the start of it).
uint32_t DetectWrittenBlockSize(const std::wstring& path, uint64_t seed, uint32_t hint);

// For a verify-only run: takes the block size of the first test file (the root's "velkor.bin",
// else "velkor_full_01.bin") and the size of all of them (in whole blocks) where they differ from
// config, with a "Hinweis:" line for each; a second file that begins with the first one's data gets
// a "Hinweis:" too. Leaves config as it is where no test file is found.
void MatchVerifyOnlyToFiles(TestConfig& config);

}  // namespace velkor
