#include "engine/block_io.h"

#include <cstring>

#include "platform/errors.h"

namespace velkor {

bool WriteBlockAt(const platform::FileHandle& file, uint64_t offset, const void* data, uint32_t size,
                  uint32_t chunk) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  const uint32_t limit = RequestSize(chunk);
  uint32_t done = 0;
  while (done < size) {
    const uint32_t request = size - done < limit ? size - done : limit;
    uint32_t written = 0;
    if (!platform::WriteFileAt(file, offset + done, bytes + done, request, &written)) return false;
    if (written == 0) {
      platform::SetLastError(platform::kErrorWriteFault);
      return false;
    }
    done += written;
  }
  return true;
}

bool ReadBlockAt(const platform::FileHandle& file, uint64_t offset, void* buffer, uint32_t size,
                 uint32_t chunk) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  const uint32_t limit = RequestSize(chunk);
  uint32_t done = 0;
  while (done < size) {
    const uint32_t request = size - done < limit ? size - done : limit;
    uint32_t got = 0;
    if (!platform::ReadFileAt(file, offset + done, bytes + done, request, &got)) return false;
    if (got == 0) {
      platform::SetLastError(platform::kErrorHandleEof);
      return false;
    }
    done += got;
  }
  return true;
}

bool ReadBlockAtAligned(const platform::FileHandle& file, uint64_t offset, void* buffer, uint32_t size,
                        uint32_t chunk, uint32_t alignment, uint8_t* bounce) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  const uint64_t mask = uint64_t{alignment} - 1;
  const uint32_t limit = RequestSize(chunk);
  uint32_t done = 0;
  while (done < size) {
    const uint32_t piece = size - done < limit ? size - done : limit;
    const uint64_t from = (offset + done) & ~mask;
    const uint64_t to = (offset + done + piece + mask) & ~mask;
    const uint32_t lead = static_cast<uint32_t>(offset + done - from);
    uint32_t got = 0;
    if (!platform::ReadFileAt(file, from, bounce, static_cast<uint32_t>(to - from), &got)) return false;
    if (got <= lead) {
      platform::SetLastError(platform::kErrorHandleEof);
      return false;
    }
    const uint32_t usable = got - lead < piece ? got - lead : piece;
    std::memcpy(bytes + done, bounce + lead, usable);
    done += usable;
  }
  return true;
}

}  // namespace velkor
