// What the worker count control shows for a typed value: the label with the core count and the
// maximum, the hint line and whether the field turns red.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

struct WorkerControlView {
  std::wstring label;
  std::wstring hint;
  bool warning = false;
};

// fieldText is the workers field as typed; cpuCount the logical processors.
WorkerControlView BuildWorkerControlView(const std::wstring& fieldText, uint32_t cpuCount);

}  // namespace velkor
