// One planned job: a method-test variant or one full-test file.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_config.h"

namespace velkor {

struct TestVariant {
  AccessType accessType{L"", false, false, 262144};  // its name becomes the record's method text
  uint32_t workerCount = 1;
  uint64_t fileOffset = 0;   // where the job's first block goes in filePath
  uint64_t byteCount = 0;    // a whole multiple of blockSize
  uint32_t blockSize = 1048576;
  uint32_t index = 0;        // test point (method test) or file index (full test), 0-based
  std::wstring filePath;
  // The pattern index of the job's first block. Full-test files continue where the file before
  // ended, so no two blocks of one full test hold the same data and a medium that maps a later
  // file onto an earlier one cannot pass; method-test jobs start at 0.
  uint64_t patternBase = 0;
};

}  // namespace velkor
