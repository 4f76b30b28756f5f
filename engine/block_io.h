// Moving one block between a buffer and a test file, in pieces of the job's I/O size.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace velkor {

// The largest request for a configured piece size: at least one 4 KiB page.
inline uint32_t RequestSize(uint32_t chunk) { return chunk > 4096 ? chunk : 4096; }

// Writes size bytes of data at offset in requests of at most RequestSize(chunk) bytes. On false,
// platform::LastError() tells why; a request that writes nothing fails with kErrorWriteFault.
bool WriteBlockAt(const platform::FileHandle& file, uint64_t offset, const void* data, uint32_t size,
                  uint32_t chunk);

// Reads size bytes at offset into buffer in requests of at most RequestSize(chunk) bytes. On false,
// platform::LastError() tells why; a request that reads nothing (end of file) fails with
// kErrorHandleEof.
bool ReadBlockAt(const platform::FileHandle& file, uint64_t offset, void* buffer, uint32_t size,
                 uint32_t chunk);

// ReadBlockAt for a handle that reads past the cache, where offset, size or chunk is no multiple of
// alignment (a power of two): each request reads the aligned range around its piece into bounce
// (at least RequestSize(chunk) + 2 * alignment bytes at an aligned address) and copies the piece
// out. The same failures as ReadBlockAt; a range that ends past the end of the file reads short.
bool ReadBlockAtAligned(const platform::FileHandle& file, uint64_t offset, void* buffer, uint32_t size,
                        uint32_t chunk, uint32_t alignment, uint8_t* bounce);

}  // namespace velkor
