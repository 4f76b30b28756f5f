#include "drives/device_hold.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace velkor {
namespace {

std::atomic<bool> held{false};
std::atomic<int> waiting{0};
std::mutex gateMutex;
std::condition_variable released;

}  // namespace

void HoldDeviceWork(bool hold) {
  {
    std::lock_guard<std::mutex> lock(gateMutex);
    held = hold;
  }
  if (!hold) released.notify_all();
}

int DeviceWorkWaiting() { return waiting.load(); }

void PassDeviceGate() {
  if (!held.load()) return;
  std::unique_lock<std::mutex> lock(gateMutex);
  ++waiting;
  released.wait(lock, [] { return !held.load(); });
  --waiting;
}

}  // namespace velkor
