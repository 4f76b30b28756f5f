#include "engine/piece_lanes.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "engine/block_io.h"
#include "platform/errors.h"

namespace velkor {
namespace {

constexpr uint32_t kNoFailure = UINT32_MAX;

// How often a write that waits for the file to reach its offset looks at the file's size again:
// first soon (a local file system gets there within microseconds), then less and less often (one
// that grows the file only once the write is done, as FUSE does, never gets there early; the end
// of the piece before wakes the wait at once).
constexpr auto kFirstGrowthPoll = std::chrono::microseconds(20);
constexpr auto kLastGrowthPoll = std::chrono::microseconds(1280);

// Takes pieces of the current batch in file order and moves each until none is left or one
// failed. Called and returns with lock held; the I/O runs without it.
void RunLane(PieceLanes& l, const platform::FileHandle& file, std::unique_lock<std::mutex>& lock) {
  while (l.next < l.pieceCount && l.failedPiece == kNoFailure) {
    const uint32_t i = l.next++;
    ++l.active;
    const uint64_t at = l.offset + uint64_t{i} * l.piece;
    const uint32_t length = std::min(l.piece, l.size - i * l.piece);
    uint8_t* bytes = l.data + static_cast<size_t>(i) * l.piece;
    if (l.writing) {
      auto poll = kFirstGrowthPoll;
      while (i > 0 && !l.done[i - 1] && l.failedPiece == kNoFailure) {
        lock.unlock();
        uint64_t fileSize = 0;
        const bool reached = platform::GetFileSizeByHandle(file, &fileSize) && fileSize >= at;
        lock.lock();
        if (reached) break;
        l.changed.wait_for(lock, poll);
        poll = std::min(poll * 2, kLastGrowthPoll);
      }
    }
    if (l.failedPiece == kNoFailure) {
      lock.unlock();
      const bool moved = l.writing ? WriteBlockAt(file, at, bytes, length, length)
                                   : ReadBlockAt(file, at, bytes, length, length);
      const uint32_t code = moved ? 0 : platform::LastError();
      lock.lock();
      if (!moved && i < l.failedPiece) {
        l.failedPiece = i;
        l.errorCode = code;
      }
    }
    l.done[i] = 1;
    --l.active;
    l.changed.notify_all();
  }
}

void LaneThread(PieceLanes* l, size_t index) {
  std::unique_lock<std::mutex> lock(l->mutex);
  uint64_t seen = 0;
  for (;;) {
    l->changed.wait(lock, [&] { return l->quit || l->batch != seen; });
    if (l->quit) return;
    seen = l->batch;
    RunLane(*l, l->files[index], lock);
  }
}

bool RunPieces(PieceLanes& l, bool writing, uint64_t offset, uint8_t* data, uint32_t size, uint32_t chunk) {
  const uint32_t piece = RequestSize(chunk);
  if (l.files.size() < 2 || size <= piece) {
    return writing ? WriteBlockAt(l.files[0], offset, data, size, chunk)
                   : ReadBlockAt(l.files[0], offset, data, size, chunk);
  }
  std::unique_lock<std::mutex> lock(l.mutex);
  l.writing = writing;
  l.offset = offset;
  l.data = data;
  l.size = size;
  l.piece = piece;
  l.pieceCount = (size + piece - 1) / piece;
  l.next = l.active = 0;
  l.done.assign(l.pieceCount, 0);
  l.failedPiece = kNoFailure;
  ++l.batch;
  l.changed.notify_all();
  RunLane(l, l.files[0], lock);
  l.changed.wait(lock, [&] { return l.active == 0 && (l.next == l.pieceCount || l.failedPiece != kNoFailure); });
  if (l.failedPiece == kNoFailure) return true;
  const uint32_t code = l.errorCode;
  lock.unlock();
  platform::SetLastError(code);
  return false;
}

}  // namespace

uint32_t PiecesInFlight(uint32_t workerCount) { return std::min(workerCount + 1, kMaxPiecesInFlight); }

void StartPieceLanes(PieceLanes& lanes) {
  for (size_t i = 1; i < lanes.files.size(); ++i) {
    try {
      lanes.threads.emplace_back(LaneThread, &lanes, i);
    } catch (const std::system_error&) {
      for (size_t j = i; j < lanes.files.size(); ++j) platform::CloseFile(lanes.files[j]);
      lanes.files.resize(i);  // fewer pieces in flight, the same I/O
      break;
    }
  }
}

void StopPieceLanes(PieceLanes& lanes) {
  {
    std::lock_guard<std::mutex> lock(lanes.mutex);
    lanes.quit = true;
    lanes.changed.notify_all();
  }
  for (std::thread& t : lanes.threads) t.join();
  lanes.threads.clear();
  for (size_t i = 1; i < lanes.files.size(); ++i) platform::CloseFile(lanes.files[i]);
  if (lanes.files.size() > 1) lanes.files.resize(1);
}

bool WritePiecesAt(PieceLanes& lanes, uint64_t offset, const void* data, uint32_t size, uint32_t chunk) {
  return RunPieces(lanes, true, offset, static_cast<uint8_t*>(const_cast<void*>(data)), size, chunk);
}

bool ReadPiecesAt(PieceLanes& lanes, uint64_t offset, void* buffer, uint32_t size, uint32_t chunk) {
  return RunPieces(lanes, false, offset, static_cast<uint8_t*>(buffer), size, chunk);
}

}  // namespace velkor
