// The drive change watch: when a device comes or goes, the drives are read again on a worker
// thread (a device query can wait behind a running test's writes, and the window must not), the
// list follows, and a run whose target has gone is stopped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "drives/drive_info.h"

namespace velkor {

// What a worker thread hands the window: the drive rows and the drive mask read with them.
struct DriveScan {
  HWND window = nullptr;  // the window that asked; a scan for another one is dropped
  uint64_t request = 0;   // NextDeviceRequest (ui/device_work.h); an older scan's answer is dropped
  std::vector<DriveInfo> rows;
  uint32_t mask = 0;
};

// A change was noticed: logs it and starts a scan, or asks for one more after the scan in flight.
void CheckDriveChange(HWND main);
// Reads the drives again without a change noticed (after a run): no log line.
void RescanDrives(HWND main);
// The window's first look at the drives: the list fills when the scan arrives, the status line
// says it is being read until then.
void ReadDrivesAtStart(HWND main);
// The idle refresh: a scan when no test runs and none is on its way.
void OnIdleDriveTimer(HWND main);
// The idle refresh's timer id and period.
inline constexpr UINT_PTR kDriveRefreshTimer = 2;
inline constexpr UINT kDriveRefreshPeriodMs = 5000;
// True while a scan is on its way.
bool DriveScanPending();
// The scan arrived (takes ownership): the drive table and list follow, and a running test whose
// target is gone is stopped with a warning.
void OnDrivesScanned(DriveScan* scan);

}  // namespace velkor
