// A worker and its companion thread take turns on a few slots of blocks: while the worker writes
// (or checks) one slot, the companion generates (or reads) the next, so the processor's work on the
// pattern and the file I/O overlap. The worker keeps every step the run can see (the stop check
// before each block, writes, counts, log lines) in block order; the companion only prepares (and,
// while writing, lets the cache forget what the medium already holds).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/handover.h"
#include "engine/block_buffer.h"

namespace velkor {

// A slot holds the worker's blocks back to back: as many as fit into kPipelineSlotBytes, at least
// one. A worker has up to kPipelineSlots of them, as many as fit into kPipelineBytes, at least two:
// enough for the side that runs ahead to ride out the other's short stalls.
inline constexpr uint64_t kPipelineSlotBytes = 1048576;
inline constexpr uint64_t kPipelineBytes = 4194304;
inline constexpr uint32_t kPipelineSlots = 4;

// One slot: the job's blocks first to first + count - 1, as the worker took them in file order.
struct BlockSlot {
  uint8_t* data = nullptr;
  uint64_t first = 0;
  uint32_t count = 0;
  bool failed = false;     // the last block of the slot could not be read
  uint32_t errorCode = 0;  // why, when failed
};

// The slots of one worker for one stage, in one allocation.
struct WorkerSlots {
  BlockBuffer buffer;
  BlockSlot slots[kPipelineSlots];
  uint32_t slotCount = 0;
  uint32_t blocksPerSlot = 0;
};

// How a worker that takes at most maxBlocks blocks of blockSize bytes splits them into slots:
// blocksPerSlot blocks each, and how many slots it uses (no more than its blocks fill; 1 means no
// companion).
// REQUIRES: maxBlocks > 0.
void PlanWorkerSlots(uint64_t maxBlocks, uint32_t blockSize, uint32_t* blocksPerSlot, uint32_t* slotCount);

// For slot number n (0, 1, 2, ...): produce(slot, n) fills slots[n % slotCount] on the companion
// thread and returns false when no slot follows it; consume(slot) handles it on the calling thread
// and returns false to stop (the companion then stops before its next slot). With one slot, or
// when no thread can be started, both run in turn on the calling thread. Returns after both ended.
template <typename Produce, typename Consume>
void RunSlotPipeline(WorkerSlots& ws, Produce produce, Consume consume) {
  const uint32_t slots = ws.slotCount;
  if (slots < 2) {
    for (uint64_t n = 0;; ++n) {
      BlockSlot& slot = ws.slots[n % slots];
      const bool more = produce(slot, n);
      if (!consume(slot) || !more) return;
    }
  }
  std::mutex mutex;
  std::condition_variable changed;
  uint64_t produced = 0, consumed = 0;  // slots handed over, slots given back
  bool producerDone = false, consumerDone = false;
  const std::shared_ptr<const RunContext> context = ThreadRunContext();
  auto companion = [&] {
    const ScopedRunContext scope(context);  // whatever it logs belongs to the worker's run
    for (uint64_t n = 0;; ++n) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return consumerDone || n - consumed < slots; });
        if (consumerDone) return;
      }
      const bool more = produce(ws.slots[n % slots], n);
      std::lock_guard<std::mutex> lock(mutex);
      produced = n + 1;
      producerDone = !more;
      changed.notify_one();
      if (!more) return;
    }
  };
  std::thread thread;
  try {
    thread = std::thread(companion);
  } catch (const std::system_error&) {
    ws.slotCount = 1;  // no thread to be had: the same steps in turn
    RunSlotPipeline(ws, produce, consume);
    return;
  }
  for (uint64_t n = 0;; ++n) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return produced > n || producerDone; });
      if (produced <= n) break;
    }
    const bool go = consume(ws.slots[n % slots]);
    std::lock_guard<std::mutex> lock(mutex);
    consumed = n + 1;
    changed.notify_one();
    if (!go) break;
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    consumerDone = true;
    changed.notify_one();
  }
  thread.join();
}

}  // namespace velkor
