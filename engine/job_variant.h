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
};

}  // namespace velkor
