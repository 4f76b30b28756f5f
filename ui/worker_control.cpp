#include "ui/worker_control.h"

#include "engine/start_rules.h"
#include "engine/worker_limits.h"
#include "ui/window_state.h"
#include "view/worker_texts.h"

namespace velkor {

void RefreshWorkerControl() {
  const WorkerControlView view = BuildWorkerControlView(WindowText(Control(kCtlWorkerField)), CpuCount());
  Ui().workerWarning = view.warning;
  SetText(kCtlWorkerLabel, view.label);
  // A profile that took fields over says so here, beside the profile box; the workers field keeps
  // its warning colours.
  SetText(kCtlWorkerHint, Ui().takeoverReason.empty() ? view.hint : Ui().takeoverReason);
  for (int n : {kCtlWorkerField, kCtlWorkerHint}) {
    if (HWND w = Control(n)) InvalidateRect(w, nullptr, TRUE);
  }
}

void ApplyProfileDefaults(uint32_t profile) {
  const ProfileDefaults defaults = ProfileDefaultsFor(profile, CpuCount());
  SetText(kCtlBlockField, std::to_wstring(defaults.blockKb));
  SetText(kCtlWorkerField, std::to_wstring(defaults.workers));
  if (HWND box = Control(kCtlProfileBox)) SendMessageW(box, CB_SETCURSEL, defaults.selection, 0);
  RefreshWorkerControl();
}

}  // namespace velkor
