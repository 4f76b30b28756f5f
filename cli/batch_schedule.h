// Which of several targets run at once: up to a limit, and never two on one physical device (they
// would share its bandwidth and each would measure the other).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

// The most runs at once by default: two per processor. A run on a stick or card waits on its
// medium almost all the time (generating and comparing the pattern costs about 0.2 processor
// seconds per GiB), so a processor keeps up with two even on fast media.
uint32_t MaxParallelRuns(uint32_t cpuCount);

// --parallel's default: one run per physical device among devices (the targets' devices; an
// empty name is a device of its own), at most MaxParallelRuns.
uint32_t DefaultParallelRuns(const std::vector<std::wstring>& devices, uint32_t cpuCount);

enum class BatchSlot : uint8_t { kWaiting, kRunning, kDone };

// The target to start now: the first waiting one, in the order given, whose device no running
// target is on, while fewer than limit run. -1 when none may start.
int NextTargetToStart(const std::vector<BatchSlot>& slots, const std::vector<std::wstring>& devices, uint32_t limit);

}  // namespace velkor
