// The window's device work on worker threads: a drive that takes long to answer (a failing stick,
// a disk that spins up) must never stop the window. Each job posts its answer back as a heap
// object (as the drive scans do); an answer to another window or to an older request is dropped.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "drives/drive_info.h"

namespace velkor {

// Why a drive is read again: the user picked its row, Start needs it as it is now, or a run ended.
enum class DriveReadFor { kPick, kStart, kAfterRun };

// The answer of a one-drive read (WM_APP_DRIVEREAD).
struct DriveRead {
  HWND window = nullptr;
  uint64_t request = 0;
  DriveReadFor purpose = DriveReadFor::kPick;
  bool ok = false;  // false: the drive no longer answers (row unchanged)
  DriveInfo row;
};

// The answer of a test-file deletion (WM_APP_FILESDELETED).
struct FilesDeleted {
  HWND window = nullptr;
  uint64_t request = 0;
};

// A request number no window of this process has used before.
uint64_t NextDeviceRequest();

// Worker threads of the window's device work that have not returned yet.
extern std::atomic<int> DeviceWorkersRunning;

// Runs job on a thread of its own, counted in DeviceWorkersRunning until it has returned.
template <typename Job>
void RunAside(Job job) {
  ++DeviceWorkersRunning;
  std::thread([job = std::move(job)]() mutable {
    job();
    --DeviceWorkersRunning;
  }).detach();
}

// Reads the selected drive again on a worker; false (nothing started) with no row selected.
bool ReadSelectedDriveAside(DriveReadFor purpose);
// The answer arrived (takes ownership): its row, or the list read anew when the drive has gone;
// a Start waiting for it goes on.
void OnDriveRead(DriveRead* read);

}  // namespace velkor
