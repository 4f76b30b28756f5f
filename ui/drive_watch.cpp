#include "ui/drive_watch.h"

#include <memory>
#include <string>

#include "common/diag_log.h"
#include "common/localization.h"
#include "drives/drive_table.h"
#include "drives/enumerate.h"
#include "engine/target_guard.h"
#include "ui/device_work.h"
#include "ui/lists.h"
#include "ui/main_window.h"
#include "ui/run_control.h"
#include "ui/window_state.h"

namespace velkor {
namespace {

void StartScan(HWND main) {
  WindowState& ui = Ui();
  ui.driveScanRunning = true;
  auto scan = std::make_unique<DriveScan>();
  scan->window = main;
  scan->request = ui.driveScanRequest = NextDeviceRequest();
  const std::wstring busyRoot = TestRunning() ? ui.run->driveRoot : std::wstring();
  RunAside([scan = std::move(scan), busyRoot, known = DriveTable]() mutable {
    scan->rows = CollectDrives(&scan->mask, busyRoot, known);
    PostToWindow(WM_APP_DRIVES, std::move(scan));
  });
}

bool TargetListed(const std::wstring& root) {
  for (const DriveInfo& drive : DriveTable) {
    if (drive.root == root) return true;
  }
  return false;
}

}  // namespace

void CheckDriveChange(HWND main) {
  WindowState& ui = Ui();
  AppendDiagLog(L"Laufwerkswechsel erkannt. Liste wird aktualisiert.");
  if (ui.driveScanRunning) {
    ui.driveScanAgain = true;
  } else {
    StartScan(main);
  }
}

bool DriveScanPending() { return Ui().driveScanRunning; }

void RescanDrives(HWND main) {
  WindowState& ui = Ui();
  if (ui.driveScanRunning) {
    ui.driveScanAgain = true;
  } else {
    StartScan(main);
  }
}

void ReadDrivesAtStart(HWND main) {
  Ui().firstScanPending = true;
  SetText(kCtlStatusLine, Translate(L"status_reading_drives"));
  StartScan(main);
}

void OnIdleDriveTimer(HWND main) {
  if (!TestRunning() && !DriveScanPending() && !Ui().controlsLocked) StartScan(main);
}

void OnDrivesScanned(DriveScan* raw) {
  std::unique_ptr<DriveScan> scan(raw);
  WindowState& ui = Ui();
  if (!scan || scan->window != ui.main || scan->request != ui.driveScanRequest) return;
  ui.driveScanRunning = false;
  // The first answer ends the reading text the window opened with.
  if (ui.firstScanPending) {
    ui.firstScanPending = false;
    if (WindowText(Control(kCtlStatusLine)) == Translate(L"status_reading_drives")) SetText(kCtlStatusLine, Translate(L"ready"));
  }
  const std::wstring previous = GetSelectedDriveRoot();
  DriveTable = std::move(scan->rows);
  LastDriveMask = scan->mask;
  SortDriveTable();
  ShowDriveTable(previous);
  if (ui.driveScanAgain) {
    ui.driveScanAgain = false;
    StartScan(ui.main);
  }
  if (!TestRunning() || ui.run->driveRoot.empty() || TargetListed(ui.run->driveRoot)) return;
  StopForTargetGone(*ui.run);
  TellTargetGone();
}

}  // namespace velkor
