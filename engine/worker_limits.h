// The worker limits: one processor core always stays free. Stateless; each call asks the system
// for the processor count again. The overloads taking cpuCount hold the rules themselves.
#pragma once

#include <cstdint>

namespace velkor {

// Logical processors of the machine, at least 1.
uint32_t CpuCount();

// The largest worker count ever run: cpuCount - 1, but at least 1.
uint32_t MaxWorkerCount();
uint32_t MaxWorkerCount(uint32_t cpuCount);

// The largest worker count below 90 % of the cores, at least 1 and at most MaxWorkerCount.
uint32_t SampleWorkerCount();
uint32_t SampleWorkerCount(uint32_t cpuCount);

// value - value % step; value itself when step is 0.
uint64_t RoundDownToMultiple(uint64_t value, uint64_t step);

}  // namespace velkor
