#include "ui/taskbar.h"

#include <shobjidl.h>

#include "ui/window_state.h"

namespace velkor {
namespace {

ITaskbarList3* gTaskbar = nullptr;
bool gTaskbarTried = false;

// The shell's taskbar object; null where there is none (no shell, or COM not there).
ITaskbarList3* Taskbar() {
  if (gTaskbar != nullptr || gTaskbarTried) return gTaskbar;
  gTaskbarTried = true;
  ITaskbarList3* list = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&list)))) {
    return nullptr;
  }
  if (FAILED(list->HrInit())) {
    list->Release();
    return nullptr;
  }
  gTaskbar = list;
  return gTaskbar;
}

void Apply(HWND main, const TaskbarProgress& p) {
  ITaskbarList3* list = Taskbar();
  if (list == nullptr || main == nullptr) return;
  const TBPFLAG state = p.mark == TaskbarMark::kError      ? TBPF_ERROR
                        : p.mark == TaskbarMark::kWarning  ? TBPF_PAUSED
                        : p.mark == TaskbarMark::kProgress ? TBPF_NORMAL
                                                           : TBPF_NOPROGRESS;
  list->SetProgressState(main, state);
  if (p.mark != TaskbarMark::kNone) list->SetProgressValue(main, p.completed, p.total);
}

}  // namespace

UINT TaskbarButtonCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

void OnTaskbarButtonCreated(HWND main) {
  ReleaseTaskbar();
  Apply(main, Ui().taskbar);
}

void ShowTaskbarProgress(HWND main, const TaskbarProgress& progress) {
  TaskbarProgress& shown = Ui().taskbar;
  if (progress.mark == shown.mark && progress.completed == shown.completed) return;
  shown = progress;
  Apply(main, progress);
}

void ReleaseTaskbar() {
  if (gTaskbar != nullptr) gTaskbar->Release();
  gTaskbar = nullptr;
  gTaskbarTried = false;
}

void ShowRunEndOnTaskbar(HWND main, VerdictKind verdict, int64_t runSeconds) {
  if (main == nullptr) return;
  const bool inFront = GetForegroundWindow() == main;
  ShowTaskbarProgress(main, TaskbarAtRunEnd(verdict, inFront));
  if (!ShouldFlashAtRunEnd(runSeconds, inFront)) return;
  FLASHWINFO flash{sizeof(flash), main, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
}

void OnWindowActivated(HWND main) {
  if (Ui().taskbar.mark != TaskbarMark::kNone && !TestRunning()) ShowTaskbarProgress(main, TaskbarProgress{});
}

}  // namespace velkor
