#include "engine/worker_common.h"

#include <string>

#include "common/diag_log.h"
#include "platform/errors.h"

namespace velkor {

void FailRun(TestState& state) {
  state.errorCount.fetch_add(1);
  RequestStop(state, StopReason::kIoFailure);
}

void PlanWorkerSlots(uint64_t maxBlocks, uint32_t blockSize, uint32_t* blocksPerSlot, uint32_t* slotCount) {
  uint64_t perSlot = blockSize > 0 ? kPipelineSlotBytes / blockSize : 1;
  if (perSlot < 1) perSlot = 1;
  if (perSlot > maxBlocks) perSlot = maxBlocks;
  *blocksPerSlot = static_cast<uint32_t>(perSlot);
  const uint64_t slotBytes = perSlot * (blockSize > 0 ? blockSize : 1);
  uint64_t slots = kPipelineBytes / slotBytes;
  slots = slots < 2 ? 2 : (slots > kPipelineSlots ? kPipelineSlots : slots);
  const uint64_t needed = (maxBlocks + perSlot - 1) / perSlot;
  *slotCount = static_cast<uint32_t>(needed < slots ? needed : slots);
}

WorkerSlots AllocateWorkerSlots(const TestConfig& job, TestState& state, uint32_t workerIndex, size_t alignment,
                                uint64_t maxBlocks) {
  WorkerSlots ws;
  uint32_t perSlot = 0, slots = 0;
  PlanWorkerSlots(maxBlocks, job.blockSize, &perSlot, &slots);
  const size_t slotBytes = static_cast<size_t>(perSlot) * job.blockSize;
  ws.buffer = AllocateBlockBuffer(slotBytes * slots, alignment);
  if (!ws.buffer && (perSlot > 1 || slots > 1)) {
    perSlot = 1;
    slots = 1;
    ws.buffer = AllocateBlockBuffer(job.blockSize, alignment);
  }
  if (!ws.buffer) {
    FailRun(state);
    AppendDiagLog(L"FEHLER: Kein Speicher für den Blockpuffer. Datei=" + job.filePath + L", Worker=" +
                  std::to_wstring(workerIndex) + L", Blockgröße=" + std::to_wstring(job.blockSize) + L", " +
                  FormatWindowsError(platform::kErrorNotEnoughMemory));
    return ws;
  }
  ws.blocksPerSlot = perSlot;
  ws.slotCount = slots;
  for (uint32_t i = 0; i < slots; ++i) ws.slots[i].data = ws.buffer.get() + i * static_cast<size_t>(perSlot) * job.blockSize;
  return ws;
}

}  // namespace velkor
