// Several pieces of a block in flight at once: a slow medium waits out each request's latency,
// and one request at a time leaves the medium idle for it. Each lane is a thread with a handle of
// its own on the test file (a handle that writes carries the same write-through flag as the
// worker's), the calling thread being the first. The lanes take the pieces in file order; a write
// does not start before the file has grown to its offset (or the piece before it is done), so the
// file never grows past a gap the file system would have to fill with zeros.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/files.h"

namespace velkor {

// Requests in flight per worker: one more than the job's workers, at most kMaxPiecesInFlight. The
// worker count is then also how deep the medium's queue is filled (the method test measures it).
inline constexpr uint32_t kMaxPiecesInFlight = 8;
uint32_t PiecesInFlight(uint32_t workerCount);

struct PieceLanes {
  std::vector<platform::FileHandle> files;  // files[0] is the worker's own; the rest the lanes'
  std::vector<std::thread> threads;
  std::mutex mutex;
  std::condition_variable changed;
  // The batch being worked on, under mutex.
  uint64_t batch = 0;  // counts the batches handed out; a lane joins each once
  bool writing = false, quit = false;
  uint64_t offset = 0;
  uint8_t* data = nullptr;
  uint32_t size = 0, piece = 0, pieceCount = 0;
  uint32_t next = 0, finished = 0, active = 0;
  std::vector<uint8_t> done;         // per piece
  uint32_t failedPiece = UINT32_MAX;  // the first failed piece in file order
  uint32_t errorCode = 0;
};

// Starts the lane threads for files[1..] (a lane that cannot be started is closed and left out).
// The caller has opened files; with one handle there are no threads and the pieces go one by one.
void StartPieceLanes(PieceLanes& lanes);

// Ends the lane threads and closes every handle but files[0].
void StopPieceLanes(PieceLanes& lanes);

// WriteBlockAt and ReadBlockAt (engine/block_io.h) over the lanes: the same requests, the same
// failures (platform::LastError() on the calling thread is the first failed piece's code).
bool WritePiecesAt(PieceLanes& lanes, uint64_t offset, const void* data, uint32_t size, uint32_t chunk);
bool ReadPiecesAt(PieceLanes& lanes, uint64_t offset, void* buffer, uint32_t size, uint32_t chunk);

}  // namespace velkor
