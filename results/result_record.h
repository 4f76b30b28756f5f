// One job's result: a method-test variant, a full-test file or a verify-only file.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

struct ResultRecord {
  std::wstring method;          // access-type text, with " (Volltest)" / " (nur prüfen)" for those jobs
  uint32_t workers = 1;
  uint32_t blockSize = 1048576;  // bytes
  uint64_t bytes = 0;           // planned size of the job
  double mbPerSecond = 0.0;     // MiB/s; 0 when cancelled or with errors
  double seconds = 0.0;         // wall time, write and verify together
  uint64_t errors = 0;
  bool verified = false;        // the job's access type asks for a verify stage
  bool cancelled = false;
  bool recommended = false;
};

}  // namespace velkor
