#include "cli/batch_schedule.h"

#include <algorithm>
#include <set>

namespace velkor {

uint32_t MaxParallelRuns(uint32_t cpuCount) { return 2 * std::max<uint32_t>(1, cpuCount); }

uint32_t DefaultParallelRuns(const std::vector<std::wstring>& devices, uint32_t cpuCount) {
  std::set<std::wstring> distinct;
  uint32_t unnamed = 0;
  for (const std::wstring& device : devices) {
    if (device.empty()) ++unnamed;
    else distinct.insert(device);
  }
  const uint32_t count = static_cast<uint32_t>(distinct.size()) + unnamed;
  return std::max<uint32_t>(1, std::min(count, MaxParallelRuns(cpuCount)));
}

int NextTargetToStart(const std::vector<BatchSlot>& slots, const std::vector<std::wstring>& devices, uint32_t limit) {
  std::set<std::wstring> busy;
  uint32_t running = 0;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] != BatchSlot::kRunning) continue;
    ++running;
    if (i < devices.size() && !devices[i].empty()) busy.insert(devices[i]);
  }
  if (running >= limit) return -1;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] != BatchSlot::kWaiting) continue;
    const std::wstring device = i < devices.size() ? devices[i] : std::wstring();
    if (device.empty() || busy.count(device) == 0) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace velkor
