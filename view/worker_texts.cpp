#include "view/worker_texts.h"

#include "common/localization.h"
#include "engine/start_rules.h"
#include "engine/worker_limits.h"

namespace velkor {

WorkerControlView BuildWorkerControlView(const std::wstring& fieldText, uint32_t cpuCount) {
  WorkerControlView view;
  const std::optional<uint64_t> field = ReadNumberField(fieldText);
  const bool valid = field.has_value();
  const uint64_t workers = field.value_or(0);
  const uint32_t maximum = MaxWorkerCount(cpuCount);
  view.warning = valid && IsHighWorkerCount(workers, cpuCount);
  view.label = FormatText(L"worker_label", {std::to_wstring(cpuCount), std::to_wstring(maximum)});
  if (!valid) return view;
  if (workers > maximum) {
    view.hint = Translate(L"worker_clamp");
  } else if (view.warning) {
    view.hint = Translate(L"worker_warn");
  }
  return view;
}

}  // namespace velkor
