#include "engine/block_order.h"

namespace velkor {

void ResetBlockOrder(BlockOrder& order) {
  std::lock_guard<std::mutex> lock(order.mutex);
  order.nextBlock = 0;
  order.writtenEnd = 0;
  order.droppedEnd = 0;
  order.abandoned = false;
}

uint32_t ClaimBlocks(BlockOrder& order, uint64_t totalBlocks, uint32_t maxCount, uint64_t* first) {
  uint64_t next = order.nextBlock.load();
  uint64_t count = 0;
  do {
    if (next >= totalBlocks || maxCount == 0) return 0;
    count = totalBlocks - next < maxCount ? totalBlocks - next : maxCount;
  } while (!order.nextBlock.compare_exchange_weak(next, next + count));
  *first = next;
  return static_cast<uint32_t>(count);
}

bool WaitForTurn(BlockOrder& order, uint64_t first) {
  std::unique_lock<std::mutex> lock(order.mutex);
  order.turn.wait(lock, [&] { return order.abandoned || order.writtenEnd.load() >= first; });
  return !order.abandoned;
}

void EndTurn(BlockOrder& order, uint64_t end) {
  {
    std::lock_guard<std::mutex> lock(order.mutex);
    if (end > order.writtenEnd.load()) order.writtenEnd = end;
  }
  order.turn.notify_all();
}

void AbandonTurns(BlockOrder& order) {
  {
    std::lock_guard<std::mutex> lock(order.mutex);
    order.abandoned = true;
  }
  order.turn.notify_all();
}

}  // namespace velkor
