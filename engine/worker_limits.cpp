#include "engine/worker_limits.h"

#include <algorithm>

#include "platform/system.h"

namespace velkor {

uint32_t CpuCount() { return std::max<uint32_t>(1, platform::LogicalProcessorCount()); }

uint32_t MaxWorkerCount() { return MaxWorkerCount(CpuCount()); }

uint32_t MaxWorkerCount(uint32_t cpuCount) { return cpuCount >= 2 ? cpuCount - 1 : 1; }

uint32_t SampleWorkerCount() { return SampleWorkerCount(CpuCount()); }

uint32_t SampleWorkerCount(uint32_t cpuCount) {
  cpuCount = std::max<uint32_t>(1, cpuCount);
  // 64-bit so that absurd counts cannot wrap; identical to 32-bit for any real machine.
  const uint64_t belowNinety = (static_cast<uint64_t>(cpuCount) * 90 - 1) / 100;
  const uint64_t sample = std::max<uint64_t>(1, belowNinety);
  return static_cast<uint32_t>(std::min<uint64_t>(MaxWorkerCount(cpuCount), sample));
}

uint64_t RoundDownToMultiple(uint64_t value, uint64_t step) {
  return step == 0 ? value : value - value % step;
}

}  // namespace velkor
