#include "ui/device_work.h"

#include "common/diag_log.h"
#include "drives/drive_table.h"
#include "drives/enumerate.h"
#include "ui/drive_watch.h"
#include "ui/lists.h"
#include "ui/main_window.h"
#include "ui/run_control.h"
#include "ui/window_state.h"

namespace velkor {

std::atomic<int> DeviceWorkersRunning{0};

uint64_t NextDeviceRequest() {
  // Counted for the process, not the window: an answer meant for a closed window never matches
  // a request of the next one.
  static uint64_t last = 0;
  return ++last;
}

bool ReadSelectedDriveAside(DriveReadFor purpose) {
  WindowState& ui = Ui();
  // A Start waiting for its read keeps it: a newer read would leave the start unanswered.
  if (ui.startReadPending && purpose != DriveReadFor::kStart) return false;
  const DriveInfo* selected = GetSelectedDrive();
  if (selected == nullptr) return false;
  auto read = std::make_unique<DriveRead>();
  read->window = ui.main;
  read->request = ui.driveReadRequest = NextDeviceRequest();
  read->purpose = purpose;
  read->row = *selected;
  RunAside([read = std::move(read)]() mutable {
    read->ok = RereadDrive(read->row);
    PostToWindow(WM_APP_DRIVEREAD, std::move(read));
  });
  return true;
}

void OnDriveRead(DriveRead* raw) {
  std::unique_ptr<DriveRead> read(raw);
  WindowState& ui = Ui();
  if (!read || read->window != ui.main || read->request != ui.driveReadRequest) return;
  ui.driveReadRequest = 0;
  if (read->ok) {
    ShowRereadDrive(read->row);
  } else {
    AppendDiagLog(L"Laufwerk " + read->row.root + L" ist nicht mehr erreichbar. Liste wird aktualisiert.");
    RescanDrives(ui.main);
  }
  if (read->purpose == DriveReadFor::kStart) ContinueStart(read->ok ? &read->row : nullptr);
}

}  // namespace velkor
