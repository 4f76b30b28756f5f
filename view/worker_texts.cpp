#include "view/worker_texts.h"

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
  view.label = L"Worker (Kerne: " + std::to_wstring(cpuCount) + L", max. " + std::to_wstring(maximum) + L"):";
  if (!valid) return view;
  if (workers > maximum) {
    view.hint = L"Ein Kern bleibt frei: Wert wird beim Start begrenzt.";
  } else if (view.warning) {
    view.hint = L"Warnung: mindestens 90% aller Kerne ausgewählt, System kann langsamer werden.";
  }
  return view;
}

}  // namespace velkor
